list(APPEND GRAPHMAT_TESTS_match
  ${CMAKE_CURRENT_LIST_DIR}/MatchStateTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MatchSimilarityTest.cpp
)
