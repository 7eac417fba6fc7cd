list(APPEND GRAPHMAT_TESTS_quality
  ${CMAKE_CURRENT_LIST_DIR}/ExactMatchTest.cpp
)
