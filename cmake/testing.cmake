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
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 30)
  endif()
endfunction()

# add_window_tests(<tool>)
# The tests of a tool's windows: qt_window_test.cpp against its Qt window and
# win32_window_test.cpp against its Win32 one, whichever is built. The Win32
# tests also read the tool's Designer form (UI_FILE) and its built program
# (PROGRAM_FILE).
function(add_window_tests tool)
  if(TWEAKTOOLS_QT)
    add_tweak_test(${tool}_qt_tests QT SOURCES qt_window_test.cpp LIBS ${tool}_qt)
  endif()
  if(TWEAKTOOLS_WIN32)
    add_tweak_test(${tool}_win32_tests SOURCES win32_window_test.cpp LIBS ${tool}_win32 win32_test_support)
    target_compile_definitions(${tool}_win32_tests PRIVATE UI_FILE="${CMAKE_CURRENT_SOURCE_DIR}/../qt/tform1.ui"
      PROGRAM_FILE="$<TARGET_FILE:${tool}>" PROJECT_VERSION="${PROJECT_VERSION}")
  endif()
endfunction()
