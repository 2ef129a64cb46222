# The jurisdiction choice, the hours handlers and Update, against a worksheet without a
# window. The same tests run under two regional settings that write negatives differently.
add_executable(test_estimate ${CMAKE_CURRENT_LIST_DIR}/test_estimate.cpp)
target_link_libraries(test_estimate PRIVATE tf_estimate Qt6::Test)

add_test(NAME estimate_handlers COMMAND test_estimate)
set_tests_properties(estimate_handlers PROPERTIES ENVIRONMENT "TF_TEST_SETTINGS=us")
add_test(NAME estimate_handlers_parentheses COMMAND test_estimate)
set_tests_properties(estimate_handlers_parentheses PROPERTIES
  ENVIRONMENT "TF_TEST_SETTINGS=us-parentheses")
