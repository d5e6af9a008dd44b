# winread: reports other programs' windows and controls as JSON, for the
# end-to-end tests of the editing windows (qs_e2e_tool comes from probe.cmake).
qs_e2e_tool(qs_winread winread ${CMAKE_CURRENT_LIST_DIR}/winread.cpp)
target_link_libraries(qs_winread PRIVATE user32 comctl32)
