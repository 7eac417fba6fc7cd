list(APPEND GRAPHMAT_TESTS_gen
  ${CMAKE_CURRENT_LIST_DIR}/GenGraphTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphMutationTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphNoiseTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GenCommandLineTest.cpp
)
