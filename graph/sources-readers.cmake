list(APPEND GRAPHMAT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ReaderLines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphReaders.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LetteredReaders.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DiagramReaders.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PackageTreeReaders.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphStats.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphReports.cpp
)
