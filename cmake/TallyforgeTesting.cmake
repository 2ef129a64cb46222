# tf_add_test: the one way a test enters CTest.
#
#   tf_add_test(<folder>.<name>
#     [SOURCES src...]            build a test executable from these sources
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
#     [SANITIZE])                 also register <folder>.<name>_asan (see below)
#
# The test's name is "<folder>.<name>" in lower case, the folder being the tests/
# folder it lives in (estimate, refdata, window, e2e, packaging ...). An executable
# built from SOURCES is named test_<folder>_<name> and can be shared with TARGET.
#
# SANITIZE: the same test once more as <folder>.<name>_asan, its program built with
# AddressSanitizer (LeakSanitizer included) and UndefinedBehaviorSanitizer, with no
# recovery from either: its SOURCES, and the program's own code built the same way
# (tf_sanitized, in place of tf_window, tf_estimate, tf_money and tf_refdata). A test of a
# TARGET uses the sanitized twin of that target. Off with -DTF_SANITIZER_TESTS=OFF; not in
# the Windows build.
#
# In the Windows build the test programs are Windows programs: CTest runs them under Wine
# (tests/wine/wine-run), in the one Wine prefix that the fixture "wine" makes fresh for the
# run, and every test needs that fixture.
function(tf_add_test name)
  cmake_parse_arguments(PARSE_ARGV 1 T "SANITIZE"
    "TARGET;TIMEOUT;SKIP_RETURN_CODE"
    "SOURCES;COMMAND;ARGS;LIBRARIES;INCLUDES;DEFINITIONS;ENVIRONMENT;LABELS")
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
    target_link_libraries(${target} PRIVATE ${T_LIBRARIES})
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR} ${T_INCLUDES})
    if(T_DEFINITIONS)
      target_compile_definitions(${target} PRIVATE ${T_DEFINITIONS})
    endif()
    if(WIN32 AND CMAKE_CROSSCOMPILING)
      set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR "${TF_WINE_RUN}")
    endif()
    set(command ${target} ${T_ARGS})
  elseif(T_TARGET)
    set(command ${T_TARGET} ${T_ARGS})
  elseif(T_COMMAND)
    set(command ${T_COMMAND} ${T_ARGS})
  else()
    message(FATAL_ERROR "tf_add_test(${name}): give SOURCES, TARGET or COMMAND")
  endif()

  add_test(NAME ${name} COMMAND ${command})
  set_tests_properties(${name} PROPERTIES LABELS "${folder};${T_LABELS}")
  if(WIN32 AND CMAKE_CROSSCOMPILING)
    list(APPEND T_ENVIRONMENT ${TF_WINE_ENVIRONMENT})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine)
  endif()
  if(T_ENVIRONMENT)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENVIRONMENT}")
  endif()
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
    target_link_libraries(${target}_asan PRIVATE ${libraries})
    target_include_directories(${target}_asan PRIVATE ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR} ${T_INCLUDES})
    target_compile_definitions(${target}_asan PRIVATE ${T_DEFINITIONS})
    target_compile_options(${target}_asan PRIVATE ${TF_SANITIZER_COMPILE_FLAGS})
    target_link_options(${target}_asan PRIVATE ${TF_SANITIZER_FLAGS})
    set(command ${target}_asan ${T_ARGS})
  elseif(T_TARGET AND TARGET ${T_TARGET}_asan)
    set(command ${T_TARGET}_asan ${T_ARGS})
  else()
    message(FATAL_ERROR "tf_add_test(${name} SANITIZE): needs SOURCES, or a TARGET registered with SANITIZE")
  endif()
  add_test(NAME ${name}_asan COMMAND ${command})
  set_tests_properties(${name}_asan PROPERTIES LABELS "${folder};asan;${T_LABELS}"
    ENVIRONMENT "${T_ENVIRONMENT};${TF_SANITIZER_ENVIRONMENT}")
  if(T_TIMEOUT)
    set_tests_properties(${name}_asan PROPERTIES TIMEOUT ${T_TIMEOUT})
  endif()
endfunction()

# The tests built with a tool of their own: the window tests under the sanitizers (SANITIZE
# above) and the money parsers under libFuzzer. Both are on by default, so `make test` runs
# them; without the tool the tests are still registered and fail, saying what to install.
option(TF_SANITIZER_TESTS "Build and run the window tests under AddressSanitizer and UndefinedBehaviorSanitizer (window.*_asan)" ON)
option(TF_FUZZ_TESTS "Build and run the bounded libFuzzer run of the money parsers (estimate.money_fuzz)" ON)

set(TF_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
# -O1 and line tables only: half the compile time of -O2 -g, the same reports with file and line.
set(TF_SANITIZER_COMPILE_FLAGS ${TF_SANITIZER_FLAGS} -O1 -g1)
# Leaks are reported at exit (LeakSanitizer); the only ones let pass are in system libraries,
# listed with their reasons in tests/lsan.supp. Any error ends the test at once, with a stack.
set(TF_SANITIZER_ENVIRONMENT
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0)
set(TF_SANITIZED_REPLACES tf_window tf_estimate tf_money tf_refdata)

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
  foreach(lib IN LISTS TF_SANITIZED_REPLACES)
    get_target_property(lib_sources ${lib} SOURCES)
    get_target_property(lib_dir ${lib} SOURCE_DIR)
    foreach(source IN LISTS lib_sources)
      cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${lib_dir})
      list(APPEND sources ${source})
    endforeach()
  endforeach()
  add_library(tf_sanitized STATIC ${sources})
  target_include_directories(tf_sanitized PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(tf_sanitized PRIVATE ${TF_SANITIZER_COMPILE_FLAGS})
  target_compile_definitions(tf_sanitized PRIVATE
    TF_PRINT_MODULE_NAME="$<TARGET_FILE_NAME:tallyforge_print>"
    TF_PRINT_MODULE_PATH="$<TARGET_FILE:tallyforge_print>")
  target_link_libraries(tf_sanitized PUBLIC Qt6::Widgets PRIVATE PkgConfig::XCB)
  add_dependencies(tf_sanitized tallyforge_print)
endfunction()

# tf_add_missing_tool_test(<folder>.<name> <what is missing and how to get it>)
function(tf_add_missing_tool_test name why)
  tf_add_test(${name} COMMAND sh -c "echo '${name}: ${why}' >&2; exit 1")
endfunction()

# Running the Windows test programs under Wine: where the Qt and mingw runtime DLLs are,
# and the prefix of this run.
if(WIN32 AND CMAKE_CROSSCOMPILING)
  set(TF_WINE_RUN ${PROJECT_SOURCE_DIR}/tests/wine/wine-run)
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
