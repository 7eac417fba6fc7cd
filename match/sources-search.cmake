# The starts and reports split off from the matcher's search and output sources.
list(APPEND GRAPHMAT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/MatchEvalStart.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MatchReports.cpp
)
