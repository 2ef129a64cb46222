# The worksheet window, its controls (built from one table), start-up and the commands.
add_library(tf_window STATIC
  window/control_table.cpp
  window/control_factory.cpp
  window/input_controls.cpp
  window/window_view.cpp
  window/userform2.cpp
  window/message_box.cpp
  window/startup.cpp
  window/startup_failure_${TF_PLATFORM}.cpp
  window/accessibility.cpp
  window/print_loader.cpp
  window/command_line.cpp
  window/console_${TF_PLATFORM}.cpp
  window/display_${TF_PLATFORM}.cpp
  window/font_substitute_${TF_PLATFORM}.cpp
  window/platform_remedy_${TF_PLATFORM}.cpp
)
target_link_libraries(tf_window PUBLIC tf_estimate Qt6::Widgets)
if(NOT WIN32)
  target_link_libraries(tf_window PRIVATE PkgConfig::XCB)
endif()

# Printing, loaded at the first Print Form: Qt Print Support and libcups stay out of
# start-up.
add_library(tallyforge_print MODULE
  window/print_form_${TF_PLATFORM}.cpp window/print_page.cpp window/print_module.cpp)
target_include_directories(tallyforge_print PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(tallyforge_print PRIVATE Qt6::Widgets Qt6::PrintSupport)
if(WIN32)
  # Windows' print spooler, for the default printer and the state of the job.
  target_link_libraries(tallyforge_print PRIVATE winspool)
  set_target_properties(tallyforge_print PROPERTIES PREFIX "")
else()
  target_link_libraries(tallyforge_print PRIVATE PkgConfig::CUPS)
  set_target_properties(tallyforge_print PROPERTIES PREFIX "lib")
endif()
set_target_properties(tallyforge_print PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
add_dependencies(tf_window tallyforge_print)
target_compile_definitions(tf_window PRIVATE
  TF_PRINT_MODULE_NAME="$<TARGET_FILE_NAME:tallyforge_print>")
if(TALLYFORGE_TESTS)
  # Test programs run from their own build folders and find the module where the build put
  # it; a build for installing knows only the installed place.
  target_compile_definitions(tf_window PRIVATE
    TF_PRINT_MODULE_PATH="$<TARGET_FILE:tallyforge_print>")
endif()
