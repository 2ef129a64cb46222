# The whole estimate through the real window, with key and mouse events, no display.
add_executable(test_worksheet_estimate ${CMAKE_CURRENT_LIST_DIR}/test_worksheet_estimate.cpp)
target_link_libraries(test_worksheet_estimate PRIVATE tf_window Qt6::Test)
add_test(NAME worksheet_estimate COMMAND test_worksheet_estimate)
set_tests_properties(worksheet_estimate PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
  TIMEOUT 120)
