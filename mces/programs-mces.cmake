add_executable(graphmat-mces ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(graphmat-mces PRIVATE graphmat_core graphmat_warnings)
