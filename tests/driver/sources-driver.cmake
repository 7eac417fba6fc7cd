list(APPEND GRAPHMAT_TESTS_driver
  ${CMAKE_CURRENT_LIST_DIR}/MatchCommandLineTest.cpp
)
list(APPEND GRAPHMAT_TESTS_driver
  ${CMAKE_CURRENT_LIST_DIR}/MatchRunTest.cpp
)
list(APPEND GRAPHMAT_TESTS_driver
  ${CMAKE_CURRENT_LIST_DIR}/EffortRunTest.cpp
)
