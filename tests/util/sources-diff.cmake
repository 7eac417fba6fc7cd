list(APPEND GRAPHMAT_TESTS_util
  ${CMAKE_CURRENT_LIST_DIR}/DiagramDiffTest.cpp
)
