list(APPEND GRAPHMAT_TESTS_assign
  ${CMAKE_CURRENT_LIST_DIR}/ShortestPathSolverTest.cpp
)
