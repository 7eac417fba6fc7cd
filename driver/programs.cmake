add_executable(graphmat
  ${CMAKE_CURRENT_LIST_DIR}/main.cpp
)
target_link_libraries(graphmat PRIVATE graphmat_core graphmat_warnings)
