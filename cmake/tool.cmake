# add_tool(<tool> CORE <sources> WINDOW <sources> DATA <file>)
# A tool's logic library <tool>_core (core/include), which needs no Qt; and,
# when the windows are built, its window library <tool>_window (window/) and
# the program <tool>, made from main.cpp, with DATA copied beside it: the file
# the program finds in the folder it runs in.
function(add_tool tool)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "DATA" "CORE;WINDOW")
  add_library(${tool}_core STATIC ${arg_CORE})
  target_include_directories(${tool}_core PUBLIC core/include)
  target_link_libraries(${tool}_core PUBLIC linescan)
  if(NOT TWEAKTOOLS_QT)
    return()
  endif()

  add_library(${tool}_window STATIC ${arg_WINDOW})
  set_target_properties(${tool}_window PROPERTIES AUTOMOC ON AUTOUIC ON)
  target_include_directories(${tool}_window PUBLIC window)
  target_link_libraries(${tool}_window PUBLIC ${tool}_core formkit)

  # A Windows program opens no console window beside its own.
  add_executable(${tool} WIN32 main.cpp)
  target_link_libraries(${tool} PRIVATE ${tool}_window)
  add_custom_command(TARGET ${tool} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_CURRENT_SOURCE_DIR}/${arg_DATA} $<TARGET_FILE_DIR:${tool}>)

  # Installed two ways: into the system (bin/, its data under share/), and,
  # only for the portable archive, the program in a folder with its data
  # beside it.
  install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT system)
  install(FILES ${arg_DATA} DESTINATION ${CMAKE_INSTALL_DATADIR}/tweak-tools COMPONENT system)
  install(TARGETS ${tool} RUNTIME DESTINATION ${tool} COMPONENT portable EXCLUDE_FROM_ALL)
  install(FILES ${arg_DATA} DESTINATION ${tool} COMPONENT portable EXCLUDE_FROM_ALL)
endfunction()
