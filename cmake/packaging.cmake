# CPack: a .deb of the system install, whose dependencies dpkg-shlibdeps
# finds, and a portable .tar.gz of each program with its data beside it, the
# way the tools have always shipped.
set(CPACK_PACKAGE_NAME tweak-tools)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The tweak-tools developers")
set(CPACK_PACKAGE_CONTACT "${TWEAKTOOLS_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tools to mod the game through its XML tweak files")
set(CPACK_STRIP_FILES ON)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beside the libraries dpkg-shlibdeps finds: the font the forms are laid out
# for, and Qt's own texts in French.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-translations-l10n")
# Qt's Wayland plugin, so that the windows run natively in a Wayland session,
# and start there even where XWayland does not run.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
# CPack puts the summary first and indents the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tintmere picks the colour of the game's water with three sliders and writes
Tweak.xml from a shipped template, recolouring every water surface.

Tagsieve lists the values that one element takes in a tweak file, each once
or all, for files of any size.

Both have a French interface.")

set(CPACK_ARCHIVE_FILE_NAME "tweak-tools-${PROJECT_VERSION}-linux-x86_64")

# Each generator takes its own component: see cpack-generator.cmake.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/cpack-generator.cmake)
set(CPACK_GENERATOR "DEB;TGZ")
include(CPack)
