list(APPEND GRAPHMAT_TESTS_graph
  ${CMAKE_CURRENT_LIST_DIR}/SparseMatrixTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphCoreTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphRankTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ClassMembersTest.cpp
)
