# The worksheet window as a user meets it (offscreen).
add_executable(test_userform2 test_userform2.cpp)
target_link_libraries(test_userform2 PRIVATE tf_window Qt6::Test)
add_test(NAME window.start_state COMMAND test_userform2)
set_tests_properties(window.start_state PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=en_US.UTF-8")

# Without a desktop session the program says why and ends with status 2.
add_test(NAME window.no_display
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/no_display.sh $<TARGET_FILE:tallyforge>)

# Clear Form and Close & Exit.
add_executable(test_commands test_commands.cpp)
target_link_libraries(test_commands PRIVATE tf_window Qt6::Test)
add_test(NAME window.commands COMMAND test_commands)
set_tests_properties(window.commands PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=en_US.UTF-8")

# The same commands under AddressSanitizer and LeakSanitizer: the controls that Clear Form
# replaces (the pressed button among them) are freed, and nothing is used after it.
file(GLOB TF_ASAN_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/src/window/*.cpp ${PROJECT_SOURCE_DIR}/src/estimate/*.cpp
  ${PROJECT_SOURCE_DIR}/src/refdata/*.cpp)
add_executable(test_commands_asan test_commands.cpp ${TF_ASAN_SOURCES})
target_include_directories(test_commands_asan PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_compile_definitions(test_commands_asan PRIVATE
  TF_PRINT_MODULE_NAME="$<TARGET_FILE_NAME:tallyforge_print>"
  TF_PRINT_MODULE_PATH="$<TARGET_FILE:tallyforge_print>")
target_compile_options(test_commands_asan PRIVATE -fsanitize=address -fno-omit-frame-pointer -O1)
target_link_options(test_commands_asan PRIVATE -fsanitize=address)
target_link_libraries(test_commands_asan PRIVATE Qt6::Widgets Qt6::PrintSupport Qt6::Test PkgConfig::CUPS)
add_test(NAME window.commands_asan COMMAND test_commands_asan)
set_tests_properties(window.commands_asan PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=en_US.UTF-8;ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1;LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/lsan.supp:print_suppressions=0")

# Every text readable under a light, a dark and a high-contrast scheme, and whole at each
# scale factor a desktop offers.
foreach(scale IN ITEMS 1 1.25 1.5 2)
  string(REPLACE "." "_" suffix "${scale}")
  if(scale STREQUAL "1")
    tf_add_test(window.appearance SOURCES test_appearance.cpp LIBRARIES tf_window Qt6::Test
      ENVIRONMENT QT_QPA_PLATFORM=offscreen LC_ALL=en_US.UTF-8 QT_SCALE_FACTOR=1)
  else()
    tf_add_test(window.appearance_scale_${suffix} TARGET test_window_appearance
      ENVIRONMENT QT_QPA_PLATFORM=offscreen LC_ALL=en_US.UTF-8 QT_SCALE_FACTOR=${scale})
  endif()
endforeach()
