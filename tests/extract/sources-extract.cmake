list(APPEND GRAPHMAT_TESTS_extract
  ${CMAKE_CURRENT_LIST_DIR}/DeclarationTextTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExtractGoldenTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExtractBadInputTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CompareTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SharedSourcesTest.cpp
)
