list(APPEND GRAPHMAT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/GenFiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphBuild.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GenGraph.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GenGraphWrite.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphMutation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphMutationEdges.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphMutationOutput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphNoise.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GenCommandLine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GenRun.cpp
)
