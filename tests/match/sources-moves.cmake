list(APPEND GRAPHMAT_TESTS_match
  ${CMAKE_CURRENT_LIST_DIR}/MatchMergeTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MatchMovesTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MovePropertyTest.cpp
)
