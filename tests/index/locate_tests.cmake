# Tests of the index locator and the scan worker. Included at the end of
# tests/index/CMakeLists.txt.
tavolin_add_test(locate_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/locate_test.cpp
  LIBS tavolin_locate)

if(TAVOLIN_WINDOWS AND TARGET tavolin_test_image AND TARGET tavolin_demo_disc)
  tavolin_add_test(scan_worker_win_tests WINDOWS_ONLY
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/scan_worker_win_test.cpp
    LIBS tavolin_scan_win tavolin_demo_disc tavolin_test_image
    TIMEOUT 120)
  # Track and event descriptions name only the fields they set.
  target_compile_options(scan_worker_win_tests PRIVATE -Wno-missing-field-initializers)
endif()

# Needs drive letters of its own: the script runs it in a private prefix.
if(TAVOLIN_WINDOWS AND TARGET tavolin_test_image AND TARGET tavolin_demo_disc AND BUILD_TESTING)
  add_executable(locate_win_tests ${CMAKE_CURRENT_LIST_DIR}/locate_win_test.cpp)
  target_link_libraries(locate_win_tests PRIVATE tavolin_scan_win tavolin_demo_disc tavolin_test_image GTest::gtest GTest::gtest_main)
  target_include_directories(locate_win_tests PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_compile_options(locate_win_tests PRIVATE -Wno-missing-field-initializers)
  add_test(NAME locate_win_tests
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/locate_win_test.sh $<TARGET_FILE:locate_win_tests>
            ${CMAKE_CURRENT_BINARY_DIR}/locate_win_work ${PROJECT_SOURCE_DIR})
  set_tests_properties(locate_win_tests PROPERTIES TIMEOUT 120)
endif()
