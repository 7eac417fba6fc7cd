add_executable(graphmat-report ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(graphmat-report PRIVATE graphmat_core graphmat_warnings)
