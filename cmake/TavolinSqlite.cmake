# SQLite, one amalgamation for the native, Windows and fuzz trees, made by
# tools/sqlite.sh from Debian's sqlite3 source package and kept outside the
# work tree. Built as a static library (linked into tavolin.exe and
# tavolin-list.exe, no DLL) with full-text search, thread safety, and no
# loading of extensions from a file.
set(TAVOLIN_SQLITE_DIR "$ENV{TAVOLIN_SQLITE_DIR}" CACHE PATH "Folder of sqlite3.c and sqlite3.h (tools/sqlite.sh)")
if(NOT TAVOLIN_SQLITE_DIR)
  set(TAVOLIN_SQLITE_DIR /var/cache/tavolin/sqlite3 CACHE PATH "" FORCE)
endif()
if(NOT EXISTS ${TAVOLIN_SQLITE_DIR}/sqlite3.c OR NOT EXISTS ${TAVOLIN_SQLITE_DIR}/sqlite3.h)
  message(FATAL_ERROR "The SQLite amalgamation is not in ${TAVOLIN_SQLITE_DIR}: run tools/sqlite.sh "
                      "(tools/setup.sh runs it) to build it from Debian's sqlite3 source package")
endif()

add_library(tavolin_sqlite STATIC ${PROJECT_SOURCE_DIR}/catalogue/sqlite_library.c)
target_include_directories(tavolin_sqlite SYSTEM PUBLIC ${TAVOLIN_SQLITE_DIR})
target_compile_definitions(tavolin_sqlite PRIVATE
  SQLITE_ENABLE_FTS5
  SQLITE_THREADSAFE=1
  SQLITE_OMIT_LOAD_EXTENSION
  SQLITE_DQS=0)
# SQLite is not the code under test: it is built without the sanitizers and
# the fuzzer's coverage (the directory's options are replaced), which keeps
# its compile short and the fuzzer on the program's own code, and without
# the warnings meant for the program's code.
set_property(TARGET tavolin_sqlite PROPERTY COMPILE_OPTIONS -w
  "$<$<CONFIG:Release>:-ffile-prefix-map=${TAVOLIN_SQLITE_DIR}/=;-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>")
if(NOT TAVOLIN_WINDOWS)
  find_package(Threads REQUIRED)
  target_link_libraries(tavolin_sqlite PUBLIC Threads::Threads m)
endif()
