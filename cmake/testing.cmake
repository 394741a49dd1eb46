include(GoogleTest)

# add_tweak_test(<name> SOURCES ... LIBS ... [QT] [DATA <folder>])
# A GoogleTest program run by CTest. QT tests share one main(), which
# makes the application object on the offscreen Qt platform, so that they
# need no display. DATA names a folder of data files, which the tests find at
# TEST_DATA_DIR.
function(add_tweak_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "QT" "DATA" "SOURCES;LIBS")
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBS} test_support)
  if(arg_DATA)
    target_compile_definitions(${name} PRIVATE TEST_DATA_DIR="${arg_DATA}")
  endif()
  if(arg_QT)
    target_link_libraries(${name} PRIVATE qt_test_support)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  if(CMAKE_CROSSCOMPILING)
    # Listing the tests would start every program under the emulator once
    # more at build time: each program is one CTest test instead.
    add_test(NAME ${name} COMMAND ${name})
  else()
    # Listed when the tests run, not when they are built: a build starts no
    # test program, and prints nothing of theirs.
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 30 DISCOVERY_MODE PRE_TEST)
  endif()
endfunction()

# add_window_tests(<tool>)
# The tests of a tool's window, window_test.cpp, run against whichever front
# end is built, with what only that front end has: qt_window_test.cpp or
# win32_window_test.cpp, where there is one.
function(add_window_tests tool)
  if(TWEAKTOOLS_QT)
    set(kit qt)
  elseif(TWEAKTOOLS_WIN32)
    set(kit win32)
  else()
    return()
  endif()
  set(sources window_test.cpp)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${kit}_window_test.cpp)
    list(APPEND sources ${kit}_window_test.cpp)
  endif()
  if(TWEAKTOOLS_QT)
    add_tweak_test(${tool}_window_tests QT SOURCES ${sources} LIBS ${tool}_qt)
  else()
    add_tweak_test(${tool}_window_tests SOURCES ${sources} LIBS ${tool}_win32 win32_test_support)
  endif()
endfunction()
