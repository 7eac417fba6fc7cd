# The matcher class, one source per concern (the move index has its own fragment).
list(APPEND GRAPHMAT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Match.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MatchSimilarity.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MatchTerms.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MatchObvious.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MatchMerge.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MatchMoves.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MatchDelta.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MatchApply.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MoveContext.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MatchSearch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MatchStart.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MatchAssign.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MatchOutput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MatchEval.cpp
)
