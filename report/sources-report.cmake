# The change report: classification of a matching, its files, and the page.
list(APPEND GRAPHMAT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ChangeReport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DiagramView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NodeMatching.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChangeClassifier.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChangeFiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChangeFileReader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReportPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReportCommandLine.cpp
)
