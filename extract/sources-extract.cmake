list(APPEND GRAPHMAT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/JavaModel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DeclarationText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Subprocess.cpp
  ${CMAKE_CURRENT_LIST_DIR}/JavaReader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TypeResolver.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ClassDiagram.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExtractRun.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExtractCommandLine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CompareRun.cpp
)
