add_executable(graphmat-eval
  ${CMAKE_CURRENT_LIST_DIR}/eval_main.cpp
)
target_link_libraries(graphmat-eval PRIVATE graphmat_core graphmat_warnings)
