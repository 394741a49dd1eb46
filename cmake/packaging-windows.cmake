# CPack: the zip a modder unzips and runs, each program in its own folder with
# its data beside it, and a French read-me at the top.
install(FILES ${PROJECT_SOURCE_DIR}/dist/windows/LISEZMOI.txt DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE RENAME LICENSE.txt DESTINATION .)

set(CPACK_PACKAGE_NAME tweak-tools)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The tweak-tools developers")
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME "tweak-tools-${PROJECT_VERSION}-windows-x64")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
