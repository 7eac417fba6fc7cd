list(APPEND GRAPHMAT_TESTS_match
  ${CMAKE_CURRENT_LIST_DIR}/MatchOutputTest.cpp
)
list(APPEND GRAPHMAT_TESTS_match
  ${CMAKE_CURRENT_LIST_DIR}/TabuSearchTest.cpp
)
