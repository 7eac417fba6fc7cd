add_executable(graphmat-bench-exact ${CMAKE_CURRENT_LIST_DIR}/exact_bench.cpp)
target_link_libraries(graphmat-bench-exact PRIVATE graphmat_core graphmat_warnings)
