# Sources of the matcher split off from its search and output concerns.
list(APPEND GRAPHMAT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/MatchEvalStart.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MatchReports.cpp
)
