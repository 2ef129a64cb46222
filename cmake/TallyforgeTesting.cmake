# tf_add_test: the one way a test enters CTest.
#
#   tf_add_test(<folder>.<name>
#     [SOURCES src...]            build a test executable from these sources (and run it,
#                                 unless COMMAND is given: then COMMAND runs, and names the
#                                 executable as $<TARGET_FILE:test_<folder>_<name>>)
#     [TARGET target]             or run an executable target built elsewhere
#     [COMMAND cmd args...]       or run this command (generator expressions allowed)
#     [ARGS args...]              arguments after the executable
#     [LIBRARIES lib...]          linked into the executable built from SOURCES
#     [INCLUDES dir...]           include directories of that executable
#     [DEFINITIONS def...]        compile definitions of that executable
#     [ENVIRONMENT VAR=value...]  the test's environment
#     [LABELS label...]           labels besides the folder, which every test carries
#     [TIMEOUT seconds]
#     [SKIP_RETURN_CODE code]
#     [FIXTURE_SETUP f] [FIXTURE_CLEANUP f] [FIXTURES_REQUIRED f...] [RESOURCE_LOCK r]
#     [SANITIZE])                 also register <folder>.<name>_asan (see below)
#
# The test's name is "<folder>.<name>" in lower case, the folder being the tests/
# folder it lives in (app, window, print, estimate, money, refdata, e2e, packaging, build). An
# executable built from SOURCES is named test_<folder>_<name> and can be shared with TARGET.
# Every test finds the helpers shared by several tests in tests/helpers: C++ headers on the
# include path, Python modules on PYTHONPATH. The program's headers come with the libraries
# it links (LIBRARIES).
#
# SANITIZE: the same test once more as <folder>.<name>_asan, its program built with
# AddressSanitizer (LeakSanitizer included) and UndefinedBehaviorSanitizer, with no
# recovery from either: its SOURCES, and the program's own code built the same way
# (tf_sanitized, in place of the libraries in TF_SANITIZED_REPLACES). A test of a
# TARGET uses the sanitized twin of that target. Off with -DTF_SANITIZER_TESTS=OFF; not in
# the Windows build.
#
# In the Windows build the test programs are Windows programs: CTest runs them under Wine
# (tests/helpers/wine-run), in the one Wine prefix that the fixture "wine" makes fresh for
# the run, and every test but that fixture's own needs it.
function(tf_add_test name)
  cmake_parse_arguments(PARSE_ARGV 1 T "SANITIZE"
    "TARGET;TIMEOUT;SKIP_RETURN_CODE;FIXTURE_SETUP;FIXTURE_CLEANUP;RESOURCE_LOCK"
    "SOURCES;COMMAND;ARGS;LIBRARIES;INCLUDES;DEFINITIONS;ENVIRONMENT;LABELS;FIXTURES_REQUIRED")
  if(T_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "tf_add_test(${name}): unknown arguments ${T_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT name MATCHES "^[a-z0-9_]+\\.[a-z0-9_]+$")
    message(FATAL_ERROR "tf_add_test(${name}): a test is named <folder>.<name>, lower case")
  endif()
  string(REGEX REPLACE "\\..*$" "" folder "${name}")

  if(T_SOURCES)
    string(REPLACE "." "_" target "test_${name}")
    add_executable(${target} ${T_SOURCES})
    target_link_libraries(${target} PRIVATE ${T_LIBRARIES} tf_options)
    target_include_directories(${target} PRIVATE ${TF_TEST_INCLUDES} ${CMAKE_CURRENT_SOURCE_DIR} ${T_INCLUDES})
    if(T_DEFINITIONS)
      target_compile_definitions(${target} PRIVATE ${T_DEFINITIONS})
    endif()
    if(WIN32 AND CMAKE_CROSSCOMPILING)
      set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR "${TF_WINE_RUN}")
    endif()
    if(T_COMMAND)
      set(command ${T_COMMAND} ${T_ARGS})
    else()
      set(command ${target} ${T_ARGS})
    endif()
  elseif(T_TARGET)
    set(command ${T_TARGET} ${T_ARGS})
  elseif(T_COMMAND)
    set(command ${T_COMMAND} ${T_ARGS})
  else()
    message(FATAL_ERROR "tf_add_test(${name}): give SOURCES, TARGET or COMMAND")
  endif()

  add_test(NAME ${name} COMMAND ${command})
  set_tests_properties(${name} PROPERTIES LABELS "${folder};${T_LABELS}")
  list(PREPEND T_ENVIRONMENT PYTHONPATH=${TF_TEST_HELPERS})
  if(WIN32 AND CMAKE_CROSSCOMPILING)
    list(APPEND T_ENVIRONMENT ${TF_WINE_ENVIRONMENT})
    if(NOT T_FIXTURE_SETUP STREQUAL "wine" AND NOT T_FIXTURE_CLEANUP STREQUAL "wine")
      list(APPEND T_FIXTURES_REQUIRED wine)
    endif()
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENVIRONMENT}")
  foreach(property FIXTURE_SETUP FIXTURE_CLEANUP RESOURCE_LOCK FIXTURES_REQUIRED)
    if(T_${property})
      string(REPLACE FIXTURE_ FIXTURES_ ctest_property ${property})
      set_tests_properties(${name} PROPERTIES ${ctest_property} "${T_${property}}")
    endif()
  endforeach()
  if(T_TIMEOUT)
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  endif()
  if(T_SKIP_RETURN_CODE)
    set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE ${T_SKIP_RETURN_CODE})
  endif()

  if(NOT T_SANITIZE OR NOT TF_SANITIZER_TESTS OR WIN32)
    return()
  endif()
  if(NOT TF_HAVE_SANITIZERS)
    tf_add_missing_tool_test(${name}_asan
      "the compiler cannot build with ${TF_SANITIZER_FLAGS}; install g++ with libasan and libubsan (scripts/install-deps), or configure with -DTF_SANITIZER_TESTS=OFF")
    return()
  endif()
  if(T_SOURCES)
    set(libraries)
    foreach(lib IN LISTS T_LIBRARIES)
      if(lib IN_LIST TF_SANITIZED_REPLACES)
        set(lib tf_sanitized)
      endif()
      list(APPEND libraries ${lib})
    endforeach()
    list(REMOVE_DUPLICATES libraries)
    add_executable(${target}_asan ${T_SOURCES})
    target_link_libraries(${target}_asan PRIVATE ${libraries} tf_options)
    target_include_directories(${target}_asan PRIVATE ${TF_TEST_INCLUDES} ${CMAKE_CURRENT_SOURCE_DIR} ${T_INCLUDES})
    target_compile_definitions(${target}_asan PRIVATE ${T_DEFINITIONS})
    target_compile_options(${target}_asan PRIVATE ${TF_SANITIZER_COMPILE_FLAGS})
    target_link_options(${target}_asan PRIVATE ${TF_SANITIZER_FLAGS})
    if(T_COMMAND)
      message(FATAL_ERROR "tf_add_test(${name} SANITIZE): the sanitized twin of a COMMAND is not known")
    endif()
    set(command ${target}_asan ${T_ARGS})
  elseif(T_TARGET AND TARGET ${T_TARGET}_asan)
    set(command ${T_TARGET}_asan ${T_ARGS})
  else()
    message(FATAL_ERROR "tf_add_test(${name} SANITIZE): needs SOURCES, or a TARGET registered with SANITIZE")
  endif()
  add_test(NAME ${name}_asan COMMAND ${command})
  set_tests_properties(${name}_asan PROPERTIES LABELS "${folder};asan;${T_LABELS}"
    ENVIRONMENT "${T_ENVIRONMENT};${TF_SANITIZER_ENVIRONMENT}")
  if(T_RESOURCE_LOCK)
    set_tests_properties(${name}_asan PROPERTIES RESOURCE_LOCK "${T_RESOURCE_LOCK}")
  endif()
  if(T_TIMEOUT)
    set_tests_properties(${name}_asan PROPERTIES TIMEOUT ${T_TIMEOUT})
  endif()
endfunction()

# The tests built with a tool of their own: the window tests under the sanitizers (SANITIZE
# above) and the money parsers under libFuzzer. Both are on by default, so `make test` runs
# them; without the tool the tests are still registered and fail, saying what to install.
option(TF_SANITIZER_TESTS "Build and run the window tests under AddressSanitizer and UndefinedBehaviorSanitizer (window.*_asan)" ON)
option(TF_FUZZ_TESTS "Build and run the bounded libFuzzer runs of the money code (money.fuzz*)" ON)

set(TF_TEST_HELPERS ${PROJECT_SOURCE_DIR}/tests/helpers)
set(TF_TEST_INCLUDES ${TF_TEST_HELPERS})
# Printing for real, through a private print server of the test program's own.
set(TF_CUPS_HARNESS TF_CUPS_HARNESS="${TF_TEST_HELPERS}/cups/cups-harness.sh")

set(TF_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
# -O1 and line tables only: half the compile time of -O2 -g, the same reports with file and line.
set(TF_SANITIZER_COMPILE_FLAGS ${TF_SANITIZER_FLAGS} -O1 -g1)
# Leaks are reported at exit (LeakSanitizer); the only ones let pass are in system libraries,
# listed with their reasons in tests/lsan.supp. Any error ends the test at once, with a stack.
set(TF_SANITIZER_ENVIRONMENT
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0)
set(TF_SANITIZED_REPLACES tf_window tf_print_loader tf_estimate tf_money tf_refdata)

# tf_sources_of(<var> <target> [<file name>...]): the sources of a target of the program, as
# absolute paths; with file names, only those. For test programs that build a part of the
# program once more in a way of their own (with assertions, with sanitizers, with clang).
function(tf_sources_of var target)
  get_target_property(sources ${target} SOURCES)
  get_target_property(dir ${target} SOURCE_DIR)
  set(found)
  foreach(source IN LISTS sources)
    if(NOT source MATCHES "\\.(cpp|c)$")
      continue()
    endif()
    cmake_path(GET source FILENAME file)
    if(ARGN AND NOT file IN_LIST ARGN)
      continue()
    endif()
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${dir})
    list(APPEND found ${source})
  endforeach()
  set(${var} ${found} PARENT_SCOPE)
endfunction()

# tf_sanitized: the program's own code (the sources of the libraries above, platform files
# as the build chose them) built with the sanitizers, for the tests that SANITIZE.
function(tf_add_sanitized_program)
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_FLAGS ${TF_SANITIZER_FLAGS})
  set(CMAKE_REQUIRED_LINK_OPTIONS ${TF_SANITIZER_FLAGS})
  check_cxx_source_compiles("int main() { return 0; }" TF_HAVE_SANITIZERS)
  if(NOT TF_HAVE_SANITIZERS)
    return()
  endif()
  set(sources)
  set(outside)  # what the libraries link that is not built here again (fontconfig, app_info.h ...)
  foreach(lib IN LISTS TF_SANITIZED_REPLACES)
    tf_sources_of(lib_sources ${lib})
    list(APPEND sources ${lib_sources})
    get_target_property(deps ${lib} LINK_LIBRARIES)
    foreach(dep IN LISTS deps)
      if(dep AND NOT dep IN_LIST TF_SANITIZED_REPLACES)
        list(APPEND outside ${dep})
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES outside)
  add_library(tf_sanitized STATIC ${sources})
  foreach(lib IN LISTS TF_SANITIZED_REPLACES)
    target_include_directories(tf_sanitized PUBLIC $<TARGET_PROPERTY:${lib},INTERFACE_INCLUDE_DIRECTORIES>)
  endforeach()
  target_compile_options(tf_sanitized PRIVATE ${TF_SANITIZER_COMPILE_FLAGS})
  target_compile_definitions(tf_sanitized PRIVATE
    $<TARGET_PROPERTY:tf_print_loader,COMPILE_DEFINITIONS>)
  target_link_libraries(tf_sanitized PUBLIC Qt6::Widgets ${outside})
  add_dependencies(tf_sanitized tallyforge_print)
endfunction()

# tf_add_missing_tool_test(<folder>.<name> <what is missing and how to get it>)
function(tf_add_missing_tool_test name why)
  tf_add_test(${name} COMMAND sh -c "echo '${name}: ${why}' >&2; exit 1")
endfunction()

# Running the Windows test programs under Wine: where the Qt and mingw runtime DLLs are,
# and the prefix of this run.
if(WIN32 AND CMAKE_CROSSCOMPILING)
  set(TF_WINE_RUN ${PROJECT_SOURCE_DIR}/tests/helpers/wine-run)
  set(TF_WINE_PREFIX ${PROJECT_BINARY_DIR}/wine-prefix)
  string(REPLACE ";" ":" tf_wine_dll_dirs "${TF_WINDOWS_DLL_DIRS}")
  # ":" separates the folders, as in PATH; wine-run gives them to Wine in its own form.
  # The offscreen platform of Qt for Windows draws text with FreeType from a font folder:
  # Debian's DejaVu fonts, as the Linux tests have through fontconfig.
  set(TF_WINE_ENVIRONMENT
    TF_WINEPREFIX=${TF_WINE_PREFIX}
    QT_QPA_FONTDIR=Z:/usr/share/fonts/truetype/dejavu
    "TF_WINE_DLL_DIRS=${tf_wine_dll_dirs}")
endif()
