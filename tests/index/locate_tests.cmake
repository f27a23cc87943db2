# Tests of the index locator and the scan worker. Included at the end of
# tests/index/CMakeLists.txt.
tavolin_add_test(locate_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/locate_test.cpp
  LIBS tavolin_locate)
