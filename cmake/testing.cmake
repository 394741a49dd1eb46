include(GoogleTest)

# add_tweak_test(<name> SOURCES ... LIBS ... [WINDOW])
# A GoogleTest executable run by CTest. WINDOW tests bring their own main(),
# which makes the application object, and get the offscreen Qt platform so
# that they need no display.
function(add_tweak_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "WINDOW" "" "SOURCES;LIBS")
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBS} linescan_test_support GTest::gtest)
  set(properties "")
  if(arg_WINDOW)
    target_link_libraries(${name} PRIVATE Qt6::Test)
    set(properties PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 30 ${properties})
endfunction()
