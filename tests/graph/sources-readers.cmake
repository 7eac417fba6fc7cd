list(APPEND GRAPHMAT_TESTS_graph
  ${CMAKE_CURRENT_LIST_DIR}/ReadersTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BadInputTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DiagramReadersTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphStatsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SharedDiagramsTest.cpp
)
