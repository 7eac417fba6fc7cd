# Evaluation against a reference beside the matcher's own sources.
list(APPEND GRAPHMAT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/MatchEvalRaw.cpp
)
