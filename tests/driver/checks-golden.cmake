# Golden end-to-end runs of the matcher against the files kept in tests/data/golden/.
add_test(NAME driver.golden_runs
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/GoldenRunTest.sh ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
