# Windows build (MinGW-w64 cross build or MSVC): quipstream.exe and the
# adapter tests that exercise the Win32 services under Wine or Windows.
enable_language(RC)

# One C runtime for every target: the static one. qs_core was made before
# this file ran, so it is told directly; later targets take the default.
if(MSVC)
  set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
  set_property(TARGET qs_core PROPERTY MSVC_RUNTIME_LIBRARY "${CMAKE_MSVC_RUNTIME_LIBRARY}")
  set(QS_STATIC_RUNTIME "")
  set(QS_UNICODE_ENTRY "")
else()
  set(QS_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
  # wWinMain; MSVC's linker finds it by itself.
  set(QS_UNICODE_ENTRY -municode)
endif()

# XmlLite: MinGW-w64 ships the header but no import library; make one.
if(MSVC)
  set(QS_XMLLITE_LIB xmllite)
else()
  set(QS_XMLLITE_IMPLIB ${CMAKE_BINARY_DIR}/libxmllite.a)
  add_custom_command(OUTPUT ${QS_XMLLITE_IMPLIB}
    COMMAND ${QS_DLLTOOL} -d ${CMAKE_SOURCE_DIR}/cmake/xmllite.def -l ${QS_XMLLITE_IMPLIB}
    DEPENDS ${CMAKE_SOURCE_DIR}/cmake/xmllite.def)
  add_custom_target(qs_xmllite_implib DEPENDS ${QS_XMLLITE_IMPLIB})
  set(QS_XMLLITE_LIB ${QS_XMLLITE_IMPLIB})
endif()

# Every Win32 service and window except the entry point.
file(GLOB QS_WIN32_SOURCES CONFIGURE_DEPENDS src/platform/win32/*.cpp)
list(FILTER QS_WIN32_SOURCES EXCLUDE REGEX "/winmain\\.cpp$")
add_library(qs_win32 STATIC ${QS_WIN32_SOURCES})
target_compile_definitions(qs_win32 PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
target_link_libraries(qs_win32 PUBLIC qs_core ${QS_XMLLITE_LIB}
  user32 gdi32 shell32 shlwapi comctl32 comdlg32 advapi32 ole32 uxtheme)
if(NOT MSVC)
  add_dependencies(qs_win32 qs_xmllite_implib)
endif()

# The services and their tests build without the entry point.
if(EXISTS ${CMAKE_SOURCE_DIR}/src/platform/win32/winmain.cpp)
  file(GLOB QS_RESOURCE_FILES CONFIGURE_DEPENDS resources/*.rc)
  add_executable(quipstream WIN32 src/platform/win32/winmain.cpp ${QS_RESOURCE_FILES})
  target_link_libraries(quipstream PRIVATE qs_win32)
  target_link_options(quipstream PRIVATE ${QS_STATIC_RUNTIME} ${QS_UNICODE_ENTRY})
endif()

# Adapter tests: GoogleTest built from source (Debian's googletest package).
# Run them as: quipstream_win32_tests.exe [--fixtures=DIR]; without the flag
# they read QS_FIXTURES_DIR, then the "fixtures" folder beside the exe.
set(QS_GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest sources")
file(GLOB QS_WIN32_TEST_SOURCES CONFIGURE_DEPENDS tests/win32/*.cpp)
if(QS_WIN32_TEST_SOURCES AND EXISTS ${QS_GTEST_SOURCE_DIR}/CMakeLists.txt)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${QS_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  add_executable(quipstream_win32_tests ${QS_WIN32_TEST_SOURCES})
  target_include_directories(quipstream_win32_tests PRIVATE tests)
  target_link_libraries(quipstream_win32_tests PRIVATE qs_win32 gtest)
  target_link_options(quipstream_win32_tests PRIVATE ${QS_STATIC_RUNTIME})
  # The fixtures travel with the exe, so a copy of the build folder runs
  # anywhere; copied on every build so edits to them are never stale.
  add_custom_target(quipstream_win32_test_fixtures
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/tests/fixtures
            $<TARGET_FILE_DIR:quipstream_win32_tests>/fixtures)
  add_dependencies(quipstream_win32_tests quipstream_win32_test_fixtures)
endif()

# The end-to-end tests' probe window.
include(${CMAKE_SOURCE_DIR}/tests/e2e/probe/probe.cmake OPTIONAL)

# The end-to-end tests' reader of the editing windows.
include(${CMAKE_SOURCE_DIR}/tests/e2e/winread/winread.cmake OPTIONAL)
