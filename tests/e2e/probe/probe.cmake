# Small Windows programs of the end-to-end tests, each one self-contained exe
# (Wine needs no MinGW runtime DLLs beside it).
function(qs_e2e_tool target output source)
  add_executable(${target} ${ARGN} ${source})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${output})
  target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
  if(NOT MSVC)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  endif()
endfunction()

# The probe window: a target program of our own that logs the keys and
# characters it receives.
qs_e2e_tool(qs_probe probe ${CMAKE_CURRENT_LIST_DIR}/probe.cpp WIN32)
target_link_libraries(qs_probe PRIVATE user32 shell32)

# traytip: prints the tray icons' tooltip texts, for tests of the tray hint.
qs_e2e_tool(qs_traytip traytip ${CMAKE_CURRENT_LIST_DIR}/traytip.cpp)
target_link_libraries(qs_traytip PRIVATE user32)
