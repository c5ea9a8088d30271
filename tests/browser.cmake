# Browser checks of the generated pages (headless Chromium through playwright-core).
add_executable(make_test_photo ${CMAKE_CURRENT_LIST_DIR}/browser/makephoto.cpp)
target_link_libraries(make_test_photo PRIVATE JPEG::JPEG tessaly_testsupport)
add_test(NAME browser_pages
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/browser/run.sh ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}
          $<TARGET_FILE:tessaly-batch> $<TARGET_FILE:make_test_photo>)
set_tests_properties(browser_pages PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE)
