add_executable(graphmat-extract ${CMAKE_CURRENT_LIST_DIR}/extract_main.cpp)
target_link_libraries(graphmat-extract PRIVATE graphmat_core graphmat_warnings)
