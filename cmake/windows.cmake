# Windows build (MinGW-w64 cross build or MSVC): quipstream.exe and the
# adapter tests that exercise the Win32 services under Wine or Windows.
enable_language(RC)

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
  user32 gdi32 shell32 comctl32 comdlg32 advapi32 ole32 uxtheme)
if(NOT MSVC)
  add_dependencies(qs_win32 qs_xmllite_implib)
endif()

if(MSVC)
  set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
  set(QS_STATIC_LINK "")
else()
  set(QS_STATIC_LINK -static -static-libgcc -static-libstdc++ -municode)
endif()

file(GLOB QS_RESOURCE_FILES CONFIGURE_DEPENDS resources/*.rc)
add_executable(quipstream WIN32 src/platform/win32/winmain.cpp ${QS_RESOURCE_FILES})
target_link_libraries(quipstream PRIVATE qs_win32)
target_link_options(quipstream PRIVATE ${QS_STATIC_LINK})

# Adapter tests: GoogleTest built from source (Debian's googletest package).
set(QS_GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest sources")
file(GLOB QS_WIN32_TEST_SOURCES CONFIGURE_DEPENDS tests/win32/*.cpp)
if(QS_WIN32_TEST_SOURCES AND EXISTS ${QS_GTEST_SOURCE_DIR}/CMakeLists.txt)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${QS_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  add_executable(quipstream_win32_tests ${QS_WIN32_TEST_SOURCES})
  target_include_directories(quipstream_win32_tests PRIVATE tests)
  target_link_libraries(quipstream_win32_tests PRIVATE qs_win32 gtest gtest_main)
  target_link_options(quipstream_win32_tests PRIVATE -static -static-libgcc -static-libstdc++)
  target_compile_definitions(quipstream_win32_tests PRIVATE QS_FIXTURES_DIR="fixtures")
endif()
