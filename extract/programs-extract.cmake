add_executable(graphmat-extract ${CMAKE_CURRENT_LIST_DIR}/extract_main.cpp)
target_link_libraries(graphmat-extract PRIVATE graphmat_core graphmat_warnings)
add_executable(graphmat-compare ${CMAKE_CURRENT_LIST_DIR}/compare_main.cpp)
target_link_libraries(graphmat-compare PRIVATE graphmat_core graphmat_warnings)
list(APPEND GRAPHMAT_DEB_DEPENDS "universal-ctags")  # graphmat-extract parses Java through it
