# cvn_ui_win32: the program's Windows ground for windows and dialogs: the
# dialog base, the callback guard, the common file dialogs and the control
# wrappers (header-only).
add_library(cvn_ui_win32 STATIC
  ${CMAKE_CURRENT_LIST_DIR}/dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_dialog.cpp)
target_link_libraries(cvn_ui_win32 PUBLIC cvn_base comdlg32 user32)
