list(APPEND GRAPHMAT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Tunnel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TunnelMatches.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TunnelChains.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TunnelHistory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TunnelMain.cpp
)
