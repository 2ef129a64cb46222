# The worksheet window, its controls (built from one table), start-up and the commands.
add_library(tf_window STATIC
  window/control_table.cpp
  window/userform2.cpp
  window/message_box.cpp
  window/startup.cpp
  window/accessibility.cpp
  window/print_form.cpp
)
target_link_libraries(tf_window PUBLIC tf_estimate Qt6::Widgets Qt6::PrintSupport PkgConfig::CUPS)
