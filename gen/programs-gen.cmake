add_executable(graphmat-gen ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(graphmat-gen PRIVATE graphmat_core graphmat_warnings)
