list(APPEND GRAPHMAT_TESTS_match
  ${CMAKE_CURRENT_LIST_DIR}/MatchAssignTest.cpp
)
