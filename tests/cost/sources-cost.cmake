list(APPEND GRAPHMAT_TESTS_cost
  ${CMAKE_CURRENT_LIST_DIR}/CostClassDiagramTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CostPresetsTest.cpp
)
