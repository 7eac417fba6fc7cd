add_executable(graphmat-bench-hungarian ${CMAKE_CURRENT_LIST_DIR}/hungarian_bench.cpp)
target_link_libraries(graphmat-bench-hungarian PRIVATE graphmat_core graphmat_warnings)
