list(APPEND GRAPHMAT_TESTS_fuzz
  ${CMAKE_CURRENT_LIST_DIR}/FuzzEntries.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CorpusReplayTest.cpp
)
