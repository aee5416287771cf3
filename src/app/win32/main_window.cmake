# The full main window (frmMain) behind Show_Main_Window: the library with the
# window, its views of the models, the About box, and its resources (icons from the Tango theme, the About
# dialog). The resources are interface sources: every program that links the
# library embeds them.
include(${CMAKE_CURRENT_LIST_DIR}/icons/icons.cmake)

add_library(cvn_main_window STATIC
  ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window_controls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window_wiring.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialog_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/options_backup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/check_tree_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/results_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_library.cpp
  ${CMAKE_CURRENT_LIST_DIR}/about_box.cpp)
target_link_libraries(cvn_main_window
  PUBLIC cvn_window cvn_ui_win32 cvn_computers_win32 cvn_network_browse_win32 cvn_settings_win32 cvn_backup_win32 cvn_scan_host cvn_periphery_win32 cvn_base_win32
  PRIVATE shell32 user32 gdi32)
target_sources(cvn_main_window INTERFACE ${CVN_ICON_RC} ${CMAKE_CURRENT_LIST_DIR}/about_box.rc)
add_dependencies(cvn_main_window cvn_main_window_icons)
