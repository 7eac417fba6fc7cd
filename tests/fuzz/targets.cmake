# libFuzzer targets, one per reader family (configure with clang and -DFUZZ=ON; `make fuzz`
# builds and runs them). The position in the list is the family's FuzzFamily value.
set(GRAPHMAT_FUZZ_FAMILIES text-graph binary-graph class-diagram config member-text match-file)
set(family_index 0)
foreach(family ${GRAPHMAT_FUZZ_FAMILIES})
  add_executable(fuzz-${family}
    ${CMAKE_CURRENT_LIST_DIR}/FuzzTarget.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FuzzEntries.cpp)
  target_compile_definitions(fuzz-${family} PRIVATE GRAPHMAT_FUZZ_FAMILY=${family_index})
  target_link_libraries(fuzz-${family} PRIVATE graphmat_core graphmat_warnings)
  target_link_options(fuzz-${family} PRIVATE -fsanitize=fuzzer)
  math(EXPR family_index "${family_index} + 1")
endforeach()
