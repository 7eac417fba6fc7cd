list(APPEND GRAPHMAT_TESTS_driver
  ${CMAKE_CURRENT_LIST_DIR}/EvalCommandLineTest.cpp
)
