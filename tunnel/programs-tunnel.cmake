add_executable(graphmat-tunnel ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(graphmat-tunnel PRIVATE graphmat_core graphmat_warnings)
