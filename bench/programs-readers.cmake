add_executable(graphmat-bench-read ${CMAKE_CURRENT_LIST_DIR}/read_bench.cpp)
target_link_libraries(graphmat-bench-read PRIVATE graphmat_core graphmat_warnings)
