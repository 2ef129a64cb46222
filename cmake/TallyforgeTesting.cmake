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
#     [SKIP_RETURN_CODE code])
#
# The test's name is "<folder>.<name>" in lower case, the folder being the tests/
# folder it lives in (estimate, refdata, window, e2e, packaging ...). An executable
# built from SOURCES is named test_<folder>_<name> and can be shared with TARGET.
#
# In the Windows build the test programs are Windows programs: CTest runs them under Wine
# (tests/wine/wine-run), in the one Wine prefix that the fixture "wine" makes fresh for the
# run, and every test needs that fixture.
function(tf_add_test name)
  cmake_parse_arguments(PARSE_ARGV 1 T ""
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
endfunction()

# The two tests built with a tool of their own: the commands under AddressSanitizer and the
# money parsers under libFuzzer. Both are on by default, so `make test` runs them; without
# the tool the test is still registered and fails, saying what to install.
option(TF_ASAN_TESTS "Build and run the window commands under AddressSanitizer (window.commands_asan)" ON)
option(TF_FUZZ_TESTS "Build and run the bounded libFuzzer run of the money parsers (estimate.money_fuzz)" ON)

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
