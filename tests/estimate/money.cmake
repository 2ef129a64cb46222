# Tests of the money code: conversions and sums, the settings read from real locales,
# and a bounded fuzzing run.
set(TF_MONEY_TESTS_DIR ${CMAKE_CURRENT_LIST_DIR})
set(TF_MONEY_SRC_DIR ${CMAKE_CURRENT_LIST_DIR}/../../src)

add_executable(test_money ${TF_MONEY_TESTS_DIR}/test_money.cpp)
target_link_libraries(test_money PRIVATE tf_money Qt6::Test)
add_test(NAME money COMMAND test_money)

# fromEnvironment() under real locales: one run per environment, given as
# name|LANG|LC_ALL|LC_MONETARY[|LC_CTYPE]. Every variable is set (empty counts as
# unset), so the caller's own locale settings do not leak in.
add_executable(test_money_locale ${TF_MONEY_TESTS_DIR}/test_money_locale.cpp)
target_link_libraries(test_money_locale PRIVATE tf_money Qt6::Test)
set(TF_MONEY_LOCALE_CASES
  "c|C||"
  "posix||POSIX|"
  "en_US|en_US.UTF-8||"
  "de_DE|de_DE.UTF-8||"
  "fr_FR|fr_FR.UTF-8||"
  "en_IN|en_IN.UTF-8||"
  "de_CH|de_CH.UTF-8||"
  "es_PR|es_PR.UTF-8||"
  "lc_all_wins|de_DE.UTF-8|en_US.UTF-8|"
  "monetary_only|C||de_DE.UTF-8"
  "us_numbers_euro_amounts|en_US.UTF-8||de_DE.UTF-8"
  "missing_ctype|en_US.UTF-8|||xx_XX.UTF-8"
)
foreach(case IN LISTS TF_MONEY_LOCALE_CASES)
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 name)
  list(GET fields 1 lang)
  list(GET fields 2 lc_all)
  list(GET fields 3 lc_monetary)
  list(LENGTH fields count)
  set(lc_ctype "")
  if(count GREATER 4)
    list(GET fields 4 lc_ctype)
  endif()
  add_test(NAME money_locale_${name} COMMAND test_money_locale)
  set_tests_properties(money_locale_${name} PROPERTIES ENVIRONMENT
    "TF_LOCALE_CASE=${name};LANG=${lang};LC_ALL=${lc_all};LC_MONETARY=${lc_monetary};LC_NUMERIC=;LC_CTYPE=${lc_ctype};LANGUAGE=")
endforeach()

# libFuzzer target. The main build uses g++, so clang++ is called directly; without
# clang++ the test is still registered and fails, saying why.
find_program(TF_CLANGXX NAMES clang++ clang++-14)
set(TF_FUZZ_SOURCES
  ${TF_MONEY_TESTS_DIR}/fuzz_money.cpp
  ${TF_MONEY_SRC_DIR}/estimate/money.cpp
  ${TF_MONEY_SRC_DIR}/estimate/money_text.cpp
  ${TF_MONEY_SRC_DIR}/estimate/money_locale.cpp
  ${TF_MONEY_SRC_DIR}/refdata/cost_table.cpp
)
if(TF_CLANGXX)
  set(TF_FUZZ_BINARY ${CMAKE_CURRENT_BINARY_DIR}/fuzz_money)
  add_custom_command(
    OUTPUT ${TF_FUZZ_BINARY}
    COMMAND ${TF_CLANGXX} -std=c++20 -g -O1 -Wall -Wextra -Wpedantic
            -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
            -I${TF_MONEY_SRC_DIR} -I${TF_MONEY_TESTS_DIR}
            ${TF_FUZZ_SOURCES} -o ${TF_FUZZ_BINARY}
    DEPENDS ${TF_FUZZ_SOURCES}
            ${TF_MONEY_TESTS_DIR}/test_money_settings.h
            ${TF_MONEY_SRC_DIR}/estimate/money.h
            ${TF_MONEY_SRC_DIR}/estimate/money_text.h
            ${TF_MONEY_SRC_DIR}/refdata/cost_table.h
    COMMENT "Building the money fuzzer with clang++"
    VERBATIM)
  add_custom_target(fuzz_money ALL DEPENDS ${TF_FUZZ_BINARY})
  add_test(NAME money_fuzz
    COMMAND ${TF_FUZZ_BINARY} -max_total_time=20 -seed=1 -max_len=256 -print_final_stats=1
            -dict=${TF_MONEY_TESTS_DIR}/fuzz_money.dict)
else()
  add_test(NAME money_fuzz
    COMMAND sh -c "echo 'money_fuzz: clang++ not found; install clang and libclang-rt-14-dev (scripts/install-deps)' >&2; exit 1")
endif()
set_tests_properties(money_fuzz PROPERTIES TIMEOUT 120)
