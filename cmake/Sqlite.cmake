# SQLite: Debian's libsqlite3 on the host; on Windows a static library built by
# scripts/setup from Debian's source package into CORVANE_SQLITE_WIN64_DIR.
if(WIN32)
  set(CORVANE_SQLITE_WIN64_DIR "$ENV{HOME}/.cache/corvane/sqlite-win64" CACHE PATH
      "Folder with include/sqlite3.h and lib/libsqlite3.a built for Windows")
  add_library(corvane_sqlite STATIC IMPORTED GLOBAL)
  set_target_properties(corvane_sqlite PROPERTIES
    IMPORTED_LOCATION "${CORVANE_SQLITE_WIN64_DIR}/lib/libsqlite3.a"
    INTERFACE_INCLUDE_DIRECTORIES "${CORVANE_SQLITE_WIN64_DIR}/include")
else()
  find_package(SQLite3 REQUIRED)
  add_library(corvane_sqlite INTERFACE IMPORTED GLOBAL)
  target_link_libraries(corvane_sqlite INTERFACE SQLite::SQLite3)
endif()
