include(GoogleTest)

# add_tweak_test(<name> SOURCES ... LIBS ... [QT] [DATA <folder>])
# A GoogleTest program run by CTest. QT tests share one main(), which
# makes the application object, and get the offscreen Qt platform so that they
# need no display. DATA names a folder of data files, which the tests find at
# TEST_DATA_DIR.
function(add_tweak_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "QT" "DATA" "SOURCES;LIBS")
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBS} test_support)
  if(arg_DATA)
    target_compile_definitions(${name} PRIVATE TEST_DATA_DIR="${arg_DATA}")
  endif()
  set(properties "")
  if(arg_QT)
    target_link_libraries(${name} PRIVATE qt_test_support)
    set(properties PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  if(CMAKE_CROSSCOMPILING)
    # Listing the tests would start every program under the emulator once
    # more at build time: each program is one CTest test instead.
    add_test(NAME ${name} COMMAND ${name})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 30 ${properties})
  endif()
endfunction()
