# Printing the form for real, through a private print server (cups/cups-harness.sh) with a
# PDF printer as its default. Needs cupsd, cups-pdf and poppler-utils (scripts/install-deps).
set(TF_CUPS_DIR ${CMAKE_CURRENT_LIST_DIR}/cups)

# The printing function on a plain widget: independent of the worksheet window.
add_executable(test_print_form
  ${CMAKE_CURRENT_LIST_DIR}/test_print_form.cpp
  ${PROJECT_SOURCE_DIR}/src/window/print_form.cpp
)
target_include_directories(test_print_form PRIVATE ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_LIST_DIR})
target_compile_definitions(test_print_form PRIVATE TF_CUPS_HARNESS="${TF_CUPS_DIR}/cups-harness.sh")
target_link_libraries(test_print_form PRIVATE Qt6::Widgets Qt6::PrintSupport Qt6::Test PkgConfig::CUPS)
add_test(NAME window.print_form COMMAND test_print_form)
set_tests_properties(window.print_form PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
  TIMEOUT 240
  LABELS "print")

# Print Form pressed on the worksheet window.
add_executable(test_print_userform ${CMAKE_CURRENT_LIST_DIR}/test_print_userform.cpp)
target_include_directories(test_print_userform PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_compile_definitions(test_print_userform PRIVATE TF_CUPS_HARNESS="${TF_CUPS_DIR}/cups-harness.sh")
target_link_libraries(test_print_userform PRIVATE tf_window Qt6::Test)
add_test(NAME window.print COMMAND test_print_userform)
set_tests_properties(window.print PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=en_US.UTF-8"
  TIMEOUT 240
  LABELS "print")
