# Tests that run outside the Linux unit tests: the Windows build under Wine
# (end-to-end tests of quipstream.exe, the Win32 adapter tests) and the fuzz
# target of the clang build. Included by cmake/linux.cmake.
#
# Every Wine test takes the lock qs_wine: each has its own Xvfb and prefix,
# but two Wine sessions on two cores slow each other enough to upset the
# timing that the tests observe. Unit tests and the fuzzer run beside them.

find_program(QS_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(QS_PYTHON3 NAMES python3)
set(QS_WINE_HARNESS ${CMAKE_SOURCE_DIR}/tests/wine)

# The tests' own Settings.xml writer, checked against the format's examples.
add_test(NAME e2e.harness.settings_xml
  COMMAND ${QS_PYTHON3} ${QS_WINE_HARNESS}/test_settings_xml.py)
set_tests_properties(e2e.harness.settings_xml PROPERTIES LABELS e2e TIMEOUT 60)

if(QS_WINDOWS_BUILD_DIR)
  set(QS_WINE_TEMPLATE ${CMAKE_BINARY_DIR}/wine-template)
  set(QS_WINE_TEST_PROPERTIES FIXTURES_REQUIRED qs_wine_template RESOURCE_LOCK qs_wine)

  # One template prefix per build folder, kept while Wine stays the same;
  # every session copies it.
  add_test(NAME e2e.wine_template
    COMMAND ${QS_PYTHON3} ${QS_WINE_HARNESS}/qswine.py make-template ${QS_WINE_TEMPLATE})
  set_tests_properties(e2e.wine_template PROPERTIES
    FIXTURES_SETUP qs_wine_template RESOURCE_LOCK qs_wine LABELS "e2e;wine" TIMEOUT 300)

  # One ctest test per test function: e2e.<script without test_>.<function without test_>.
  file(GLOB QS_E2E_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/test_*.py)
  foreach(script ${QS_E2E_SCRIPTS})
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${script})
    get_filename_component(module ${script} NAME_WE)
    string(REGEX REPLACE "^test_" "" module ${module})
    execute_process(COMMAND ${QS_PYTHON3} ${script} --list
      OUTPUT_VARIABLE names RESULT_VARIABLE listed OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT listed EQUAL 0)
      message(WARNING "cannot list the tests of ${script}")
      continue()
    endif()
    string(REPLACE "\n" ";" names "${names}")
    foreach(name ${names})
      add_test(NAME e2e.${module}.${name} COMMAND ${QS_PYTHON3} ${script} ${name})
      set_tests_properties(e2e.${module}.${name} PROPERTIES ${QS_WINE_TEST_PROPERTIES}
        LABELS "e2e;wine" TIMEOUT 150
        REQUIRED_FILES "${QS_WINDOWS_BUILD_DIR}/quipstream.exe;${QS_WINDOWS_BUILD_DIR}/probe.exe;${QS_WINDOWS_BUILD_DIR}/traytip.exe;${QS_WINDOWS_BUILD_DIR}/winread.exe"
        ENVIRONMENT "QS_EXE=${QS_WINDOWS_BUILD_DIR}/quipstream.exe;QS_SETTINGS_DUMP=$<TARGET_FILE:qs_settings_dump>;QS_WINREAD=${QS_WINDOWS_BUILD_DIR}/winread.exe;QS_PROBE=${QS_WINDOWS_BUILD_DIR}/probe.exe;QS_WINE_TEMPLATE=${QS_WINE_TEMPLATE};QS_E2E_ARTIFACTS=${CMAKE_BINARY_DIR}/e2e-artifacts")
    endforeach()
  endforeach()

  # Figures of the exe under Wine (typing rate, pick to first character);
  # printed, not tested: cmake --build <this build> --target bench_wine
  add_custom_target(bench_wine
    COMMAND ${QS_PYTHON3} ${CMAKE_SOURCE_DIR}/tests/e2e/bench_wine.py
            --exe ${QS_WINDOWS_BUILD_DIR}/quipstream.exe --probe ${QS_WINDOWS_BUILD_DIR}/probe.exe
            --template ${QS_WINE_TEMPLATE}
    USES_TERMINAL VERBATIM)

  # The Win32 adapter tests, in a Wine session of their own.
  add_test(NAME win32.adapter_tests
    COMMAND ${QS_PYTHON3} ${QS_WINE_HARNESS}/run_in_wine.py --timeout 240
            --template ${QS_WINE_TEMPLATE} --fixtures ${CMAKE_SOURCE_DIR}/tests/fixtures
            ${QS_WINDOWS_BUILD_DIR}/quipstream_win32_tests.exe)
  set_tests_properties(win32.adapter_tests PROPERTIES ${QS_WINE_TEST_PROPERTIES}
    LABELS "win32;wine" TIMEOUT 300
    REQUIRED_FILES ${QS_WINDOWS_BUILD_DIR}/quipstream_win32_tests.exe
    ENVIRONMENT "QS_E2E_ARTIFACTS=${CMAKE_BINARY_DIR}/e2e-artifacts")
endif()

if(QS_FUZZ_BUILD_DIR)
  # A minute of fuzzing from the seed corpus, copied so the run's finds stay
  # out of the source tree. A crash, leak, slow input (-timeout) or memory
  # blow-up fails the test; the input that did it is kept in fuzz-artifacts.
  add_test(NAME fuzz.settings
    COMMAND sh -c [[
      work=$(mktemp -d) || exit 1
      trap 'rm -rf "$work"' EXIT
      if [ -d "$2" ]; then cp -R "$2/." "$work/"; fi
      mkdir -p "$3"
      "$1" "$work" -max_total_time=60 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$3/"
    ]] fuzz_settings
      ${QS_FUZZ_BUILD_DIR}/fuzz_settings ${CMAKE_SOURCE_DIR}/fuzz/corpus/settings
      ${CMAKE_BINARY_DIR}/fuzz-artifacts)
  set_tests_properties(fuzz.settings PROPERTIES
    LABELS fuzz TIMEOUT 180 PROCESSORS 1
    REQUIRED_FILES ${QS_FUZZ_BUILD_DIR}/fuzz_settings)
endif()
