# Tests of the index locator and the scan worker. Included at the end of
# tests/index/CMakeLists.txt.
tavolin_add_test(locate_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/locate_test.cpp
  LIBS tavolin_locate)

if(TAVOLIN_WINDOWS AND TARGET tavolin_test_image)
  tavolin_add_test(scan_worker_win_tests WINDOWS_ONLY
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/scan_worker_win_test.cpp
    LIBS tavolin_scan_win tavolin_test_image
    TIMEOUT 120)
  # Track and event descriptions name only the fields they set.
  target_compile_options(scan_worker_win_tests PRIVATE -Wno-missing-field-initializers)
endif()
