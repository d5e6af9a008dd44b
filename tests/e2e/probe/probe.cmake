# The probe window of the end-to-end tests (tests/e2e/probe/probe.cpp): a
# target program of our own that logs the keys and characters it receives.
add_executable(qs_probe WIN32 ${CMAKE_CURRENT_LIST_DIR}/probe.cpp)
set_target_properties(qs_probe PROPERTIES OUTPUT_NAME probe)
target_compile_definitions(qs_probe PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(qs_probe PRIVATE user32 shell32)
if(NOT MSVC)
  # One self-contained exe: Wine needs no MinGW runtime DLLs beside it.
  target_link_options(qs_probe PRIVATE -static -static-libgcc -static-libstdc++)
endif()

# traytip (tests/e2e/probe/traytip.cpp): prints the tray icons' tooltip
# texts, for tests of the tray hint.
add_executable(qs_traytip ${CMAKE_CURRENT_LIST_DIR}/traytip.cpp)
set_target_properties(qs_traytip PROPERTIES OUTPUT_NAME traytip)
target_compile_definitions(qs_traytip PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(qs_traytip PRIVATE user32)
if(NOT MSVC)
  target_link_options(qs_traytip PRIVATE -static -static-libgcc -static-libstdc++)
endif()
