# GoogleTest from the Debian source package, compiled with the same compiler
# and flags as the code under test (so the sanitizers and the MinGW runtime
# match), and a helper that declares one test executable.

include(CTest)

if(BUILD_TESTING AND NOT TAVOLIN_FUZZ)
  set(TAVOLIN_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest source tree")
  if(NOT EXISTS ${TAVOLIN_GTEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found at ${TAVOLIN_GTEST_SOURCE} (apt-get install googletest)")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${TAVOLIN_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

# tavolin_add_test(NAME SOURCES src... [LIBS lib...] [WINDOWS_ONLY|NATIVE_ONLY]
#                  [TIMEOUT s] [RUNNER script [RUNNER_ARGS arg...]])
# Declares a GoogleTest executable and registers it with ctest. In the Windows
# build ctest runs it through CMAKE_CROSSCOMPILING_EMULATOR (Wine); with a
# RUNNER, ctest runs `bash script RUNNER_ARGS... EXE` instead, for a test
# that needs a setting of its own around the program.
function(tavolin_add_test name)
  cmake_parse_arguments(T "WINDOWS_ONLY;NATIVE_ONLY" "TIMEOUT;RUNNER" "SOURCES;LIBS;RUNNER_ARGS" ${ARGN})
  if(NOT BUILD_TESTING OR TAVOLIN_FUZZ)
    return()
  endif()
  if(T_WINDOWS_ONLY AND NOT TAVOLIN_WINDOWS)
    return()
  endif()
  if(T_NATIVE_ONLY AND TAVOLIN_WINDOWS)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  if(T_RUNNER)
    add_test(NAME ${name} COMMAND bash ${T_RUNNER} ${T_RUNNER_ARGS} $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
endfunction()

# tavolin_add_file_limit_run(NAME TARGET FILTER KIB)
# Runs the tests of TARGET that match FILTER once more under Wine, with every
# file the program writes limited to KIB KiB (cmake/wine-run.sh); the
# program sees the limit in bytes as TAVOLIN_FILE_LIMIT.
function(tavolin_add_file_limit_run name target filter kib)
  if(NOT TARGET ${target} OR NOT TAVOLIN_WINDOWS)
    return()
  endif()
  add_test(NAME ${name} COMMAND ${target} --gtest_filter=${filter})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "TAVOLIN_FILE_LIMIT_KIB=${kib}" TIMEOUT 300)
endfunction()
