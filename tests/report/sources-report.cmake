list(APPEND GRAPHMAT_TESTS_report
  ${CMAKE_CURRENT_LIST_DIR}/ChangeClassifierTest.cpp
)
list(APPEND GRAPHMAT_TESTS_report
  ${CMAKE_CURRENT_LIST_DIR}/ChangeFilesTest.cpp
)
