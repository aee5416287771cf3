# results_list_bench: 100,000 rows in the main window's virtual results list
# (Windows; run it under Wine with a display: xvfb-run scripts/wine-exec ...).
if(WIN32)
  add_executable(results_list_bench results_list_bench.cpp)
  target_link_libraries(results_list_bench PRIVATE cvn_main_window comctl32)
endif()
