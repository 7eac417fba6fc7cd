# Identifier-term sets of a vertex, used by the matcher's node similarity.
list(APPEND GRAPHMAT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/VertexTerms.cpp
)
