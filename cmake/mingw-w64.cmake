# Cross-compiling for 64-bit Windows with MinGW-w64 (posix thread model, so that
# std::thread and std::mutex exist). Programs link statically and need only system DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Test programs run under Wine in the build's own prefix (never ~/.wine).
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec")
# Release builds at -O2: smaller programs than -O3. GCC 12's libstdc++ raises
# false -Wrestrict warnings inside std::string at high optimisation (GCC bug
# 105329), which would fail warnings-as-errors builds; that one check is off.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of the C compiler in Release builds")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of the C++ compiler in Release builds")
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
