# Converts the main window's screenshot (a BMP written by app_gui_tests) into
# a PNG among the build's artifacts. Skips quietly when there is no BMP (the
# GUI tests were skipped without a display).
if(NOT EXISTS "${BMP}")
  message("No screenshot at ${BMP}")
  return()
endif()
get_filename_component(folder "${PNG}" DIRECTORY)
file(MAKE_DIRECTORY "${folder}")
find_program(CONVERT convert PATHS /usr/bin NO_DEFAULT_PATH)
if(NOT CONVERT)
  message(FATAL_ERROR "ImageMagick's convert (/usr/bin/convert) is needed for the screenshot")
endif()
execute_process(COMMAND "${CONVERT}" "${BMP}" "${PNG}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "convert failed: ${result}")
endif()
message("Screenshot: ${PNG}")
