list(APPEND GRAPHMAT_TESTS_tunnel
  ${CMAKE_CURRENT_LIST_DIR}/TunnelTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TunnelSeriesScriptTest.cpp
)
