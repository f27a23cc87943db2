# Locating the recorder's newest index (portable choice, Win32 drive walk) and
# the scan worker thread. Included at the end of index/CMakeLists.txt.
add_library(tavolin_locate STATIC ${CMAKE_CURRENT_LIST_DIR}/locate.cpp)
target_include_directories(tavolin_locate PUBLIC ${PROJECT_SOURCE_DIR})

if(TAVOLIN_WINDOWS)
  add_library(tavolin_scan_win STATIC
    ${CMAKE_CURRENT_LIST_DIR}/locate_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/scan_worker_win.cpp
  )
  target_link_libraries(tavolin_scan_win PUBLIC tavolin_locate tavolin_index)
endif()
