# winread (tests/e2e/winread/winread.cpp): reports other programs' windows
# and controls as JSON, for the end-to-end tests of the editing windows.
add_executable(qs_winread ${CMAKE_CURRENT_LIST_DIR}/winread.cpp)
set_target_properties(qs_winread PROPERTIES OUTPUT_NAME winread)
target_compile_definitions(qs_winread PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(qs_winread PRIVATE user32 comctl32)
if(NOT MSVC)
  target_link_options(qs_winread PRIVATE -static -static-libgcc -static-libstdc++)
endif()
