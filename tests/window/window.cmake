# The worksheet window as a user meets it (offscreen).
add_executable(test_userform2 test_userform2.cpp)
target_link_libraries(test_userform2 PRIVATE tf_window Qt6::Test)
add_test(NAME window.start_state COMMAND test_userform2)
set_tests_properties(window.start_state PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=en_US.UTF-8")

# Without a desktop session the program says why and ends with status 2.
add_test(NAME window.no_display
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/no_display.sh $<TARGET_FILE:tallyforge>)
