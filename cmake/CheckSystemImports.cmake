# Checks that Windows programs import only DLLs that Windows always takes from
# the system directory: its KnownDLLs (the values of HKLM\SYSTEM\
# CurrentControlSet\Control\Session Manager\KnownDLLs on Windows 10), ntdll,
# and API sets, which the loader resolves without searching. A DLL imported
# by name is otherwise looked for first beside the program, where anyone who
# can write there (a Downloads folder) could plant one; the programs load
# every other system DLL at run time from the system directory
# (src/base/win32/system_library.h).
#
#   cmake -DOBJDUMP=<objdump> -DPROGRAMS="<a.exe>;<b.exe>" -P CheckSystemImports.cmake
cmake_minimum_required(VERSION 3.25)

set(known_dlls
  advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32 msctf msvcrt
  normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi user32 wldap32 ws2_32
  ntdll)

set(refused "")
foreach(program IN LISTS PROGRAMS)
  execute_process(COMMAND "${OBJDUMP}" -p "${program}" OUTPUT_VARIABLE dump RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} could not read ${program}")
  endif()
  string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${dump}")
  set(kernel32_seen FALSE)
  foreach(line IN LISTS imports)
    string(REGEX REPLACE "^DLL Name: *" "" dll "${line}")
    string(STRIP "${dll}" dll)
    string(TOLOWER "${dll}" dll)
    string(REGEX REPLACE "\\.dll$" "" dll "${dll}")
    if(dll STREQUAL "kernel32")
      set(kernel32_seen TRUE)
    endif()
    if(NOT dll IN_LIST known_dlls AND NOT dll MATCHES "^api-ms-win-")
      list(APPEND refused "${program}: ${dll}.dll")
    endif()
  endforeach()
  # Every program imports kernel32: without it the listing was not understood.
  if(NOT kernel32_seen)
    message(FATAL_ERROR "No import table found in ${program}")
  endif()
endforeach()

if(refused)
  list(JOIN refused "\n  " text)
  message(FATAL_ERROR "Imports of DLLs that are not KnownDLLs (load them from the system directory at run time):\n  ${text}")
endif()
message(STATUS "Only KnownDLLs imported by: ${PROGRAMS}")
