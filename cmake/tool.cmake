# add_tool(<tool> ID <desktop id> DESCRIPTION <text> CORE <sources> QT <sources> WIN32 <sources> DATA <file>)
# A tool's logic library <tool>_core (core/include), which needs no Qt; and,
# when the Qt windows are built, its Qt window library <tool>_qt (qt/) and the
# program <tool>, made from qt/main.cpp; or, when the Windows front ends are,
# its Win32 window library <tool>_win32 (win32/) and the program made from
# win32/main.cpp. The Qt program holds its icon, dist/icons/png/256x256/<ID>.png. DATA is copied beside the program: the file it finds in the
# folder it runs in.
function(add_tool tool)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "ID;DESCRIPTION;DATA" "CORE;QT;WIN32")
  add_library(${tool}_core STATIC ${arg_CORE})
  target_include_directories(${tool}_core PUBLIC core/include)
  target_link_libraries(${tool}_core PUBLIC formkit linescan messaging)
  if(TWEAKTOOLS_WIN32)
    add_win32_program(${tool} DESCRIPTION ${arg_DESCRIPTION} SOURCES ${arg_WIN32} DATA ${arg_DATA})
  endif()
  if(NOT TWEAKTOOLS_QT)
    return()
  endif()

  add_library(${tool}_qt STATIC ${arg_QT})
  set_target_properties(${tool}_qt PROPERTIES AUTOMOC ON)
  target_include_directories(${tool}_qt PUBLIC qt)
  target_link_libraries(${tool}_qt PUBLIC ${tool}_core qtkit)

  # A Windows program opens no console window beside its own.
  add_executable(${tool} WIN32 qt/main.cpp)
  target_link_libraries(${tool} PRIVATE ${tool}_qt)
  set(icon ${PROJECT_SOURCE_DIR}/dist/icons/png/256x256/${arg_ID}.png)
  set_source_files_properties(${icon} PROPERTIES QT_RESOURCE_ALIAS ${arg_ID}.png)
  qt_add_resources(${tool} icon PREFIX /icons FILES ${icon})

  # Installed two ways: into the system (bin/, its data under share/), and,
  # only for the portable archive, the program in a folder with its data
  # beside it.
  install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT system)
  strip_notes(${CMAKE_INSTALL_BINDIR}/${tool})
  install(FILES ${arg_DATA} DESTINATION ${CMAKE_INSTALL_DATADIR}/tweak-tools COMPONENT system)
  data_beside(${tool} ${arg_DATA} COMPONENT portable EXCLUDE_FROM_ALL)
endfunction()

# data_beside(<program> <file> [install options])
# Copies file beside the built program, where the program finds it in the
# folder it runs in, and installs the two in a folder of the program's name.
function(data_beside program data)
  add_custom_command(TARGET ${program} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_CURRENT_SOURCE_DIR}/${data} $<TARGET_FILE_DIR:${program}>)
  install(TARGETS ${program} RUNTIME DESTINATION ${program} ${ARGN})
  install(FILES ${data} DESTINATION ${program} ${ARGN})
endfunction()

# add_win32_program(<tool> DESCRIPTION <text> SOURCES <sources> DATA <file>)
# The Windows front end: <tool>_win32 (win32/), and <tool>.exe with its
# manifest and version, DESCRIPTION in French, installed for the zip in a
# folder of its own with DATA beside it.
function(add_win32_program tool)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "DESCRIPTION;DATA" "SOURCES")
  add_library(${tool}_win32 STATIC ${arg_SOURCES})
  target_include_directories(${tool}_win32 PUBLIC win32)
  target_link_libraries(${tool}_win32 PUBLIC ${tool}_core win32kit)

  set(TOOL ${tool})
  set(TOOL_DESCRIPTION ${arg_DESCRIPTION})
  configure_file(${PROJECT_SOURCE_DIR}/win32kit/program.manifest.in ${tool}.manifest @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/win32kit/program.rc.in ${tool}.rc @ONLY)
  add_executable(${tool} WIN32 win32/main.cpp ${CMAKE_CURRENT_BINARY_DIR}/${tool}.rc)
  # The resource compiler names no file it embeds as it is: a changed
  # manifest would otherwise leave the program with the old one.
  set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${tool}.rc PROPERTIES
    OBJECT_DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/${tool}.manifest)
  # wWinMain, the entry point that gets the command line as UTF-16.
  target_link_options(${tool} PRIVATE -municode)
  target_link_libraries(${tool} PRIVATE ${tool}_win32)
  data_beside(${tool} ${arg_DATA})
endfunction()

# strip_notes(<installed program>)
# Takes from the program, once installed into the system, the compiler's
# .comment and .note sections, which a stripped Debian binary does without.
function(strip_notes program)
  install(CODE "execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
                  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${program}\" COMMAND_ERROR_IS_FATAL ANY)"
          COMPONENT system)
endfunction()
