# A Debian package of what `cmake --install` puts in place: `cpack` in the
# build directory writes it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME calculator)
set(CPACK_PACKAGE_VENDOR "Calculator developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Scientific calculator with a graph window")
# Lines of the extended description stay within 80 columns, for 80x25 terminals.
set(CPACK_PACKAGE_DESCRIPTION
    "Works out arithmetic expressions with + - * / ^, sin, cos, tan, sqrt, log\n\
and ln, the variables x, y and z and the last answer, and shows each in\n\
postfix notation with its value. A second window plots the expression as a\n\
function of x; the view can be moved, zoomed and traced with the mouse.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/FolderPermissions.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/ArchiveModes.cmake)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/SourceDate.cmake)
set(CPACK_CALC_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_CALC_RELEASE_EPOCH ${CALC_RELEASE_EPOCH})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Calculator developers <calculator@example.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
# The libraries the binary links, with the versions built against, come from
# dpkg-shlibdeps; the Qt platform plugins ship in libqt6gui6, which it finds.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Most desktops run a Wayland session; with Qt's Wayland plugin the windows are
# native there instead of going through XWayland. The graph's sound loads
# libpulse0's library when it first plays (dlopen, which dpkg-shlibdeps does
# not see); without it the graph is silent. Qt's translations give its own
# texts (the fields' menu, the boxes' buttons) in the desktop's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, libpulse0, qt6-translations-l10n")
include(CPack)
