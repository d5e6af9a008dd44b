# Native build: the core, the pugixml reader, unit tests, benchmarks, fuzzers,
# and the ctest entries that run the Windows build under Wine.
find_package(pugixml REQUIRED)
add_library(qs_xml_pugi STATIC src/platform/pugixml/pugixml_reader.cpp)
target_link_libraries(qs_xml_pugi PUBLIC qs_core pugixml::pugixml)

enable_testing()

# The fuzz build (clang, -DQS_FUZZ=ON) makes the fuzz targets only.
if(QS_FUZZ)
  set_target_properties(qs_core qs_xml_pugi PROPERTIES EXCLUDE_FROM_ALL ON)
else()
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB_RECURSE QS_UNIT_TEST_SOURCES CONFIGURE_DEPENDS tests/unit/*.cpp)
add_library(qs_fakes STATIC tests/fakes/fake_platform.cpp)
target_include_directories(qs_fakes PUBLIC tests)
target_link_libraries(qs_fakes PUBLIC qs_core qs_xml_pugi)

add_executable(qs_unit_tests ${QS_UNIT_TEST_SOURCES})
target_link_libraries(qs_unit_tests PRIVATE qs_fakes GTest::gtest GTest::gmock GTest::gtest_main)
target_compile_definitions(qs_unit_tests PRIVATE QS_FIXTURES_DIR="${CMAKE_SOURCE_DIR}/tests/fixtures")
gtest_discover_tests(qs_unit_tests DISCOVERY_TIMEOUT 60)

# Prints what the program's own reader makes of a Settings.xml; the
# end-to-end tests decode the files the exe writes with it.
add_executable(qs_settings_dump tools/settings_dump.cpp)
target_link_libraries(qs_settings_dump PRIVATE qs_core qs_xml_pugi)

# Benchmarks: programs that print their figures (scripts/bench.sh runs them).
file(GLOB QS_BENCH_SOURCES CONFIGURE_DEPENDS bench/*.cpp)
if(QS_BENCH_SOURCES)
  find_package(benchmark REQUIRED)
  foreach(src ${QS_BENCH_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE qs_fakes benchmark::benchmark)
  endforeach()
endif()

endif()

# Fuzz targets need clang's libFuzzer. The code under test is built again
# with the fuzzer's coverage and the sanitizers, or the fuzzer would neither
# be guided through it nor see its memory faults. Only the folders that a
# fuzzer reaches are built.
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang" AND QS_FUZZ)
  file(GLOB QS_FUZZ_CORE_SOURCES CONFIGURE_DEPENDS src/model/*.cpp src/settings/*.cpp)
  add_library(qs_fuzz_core STATIC ${QS_FUZZ_CORE_SOURCES} src/platform/pugixml/pugixml_reader.cpp)
  target_include_directories(qs_fuzz_core PUBLIC src)
  target_compile_options(qs_fuzz_core PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
  target_link_libraries(qs_fuzz_core PUBLIC pugixml::pugixml)
  file(GLOB QS_FUZZ_SOURCES CONFIGURE_DEPENDS fuzz/*.cpp)
  foreach(src ${QS_FUZZ_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${name} PRIVATE qs_fuzz_core)
  endforeach()
endif()

# Tests that need the other builds: their folders are passed in by scripts/test.sh.
set(QS_WINDOWS_BUILD_DIR "" CACHE PATH "MinGW build folder holding quipstream.exe")
set(QS_FUZZ_BUILD_DIR "" CACHE PATH "clang build folder holding the fuzz targets")
include(${CMAKE_SOURCE_DIR}/tests/external_tests.cmake OPTIONAL)
