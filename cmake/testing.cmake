include(GoogleTest)

# add_tweak_test(<name> SOURCES ... LIBS ... [WINDOW] [DATA <folder>])
# A GoogleTest executable run by CTest. WINDOW tests share one main(), which
# makes the application object, and get the offscreen Qt platform so that they
# need no display. DATA is copied beside the test program as data/.
function(add_tweak_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "WINDOW" "DATA" "SOURCES;LIBS")
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBS} test_support)
  set(properties "")
  if(arg_WINDOW)
    target_link_libraries(${name} PRIVATE window_test_support)
    set(properties PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  if(arg_DATA)
    add_custom_command(TARGET ${name} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_directory ${arg_DATA} $<TARGET_FILE_DIR:${name}>/data)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 30 ${properties})
endfunction()
