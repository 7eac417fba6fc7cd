# The change report page in a real browser (skipped where Chromium is missing).
add_test(NAME ReportPage.InHeadlessChromium
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/page_in_browser.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
set_tests_properties(ReportPage.InHeadlessChromium PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 400)
