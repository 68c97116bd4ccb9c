# A Debian package of what `cmake --install` puts in place: `cpack` in the
# build directory writes it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME calculator)
set(CPACK_PACKAGE_VENDOR "Calculator developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Scientific calculator with a graph window")
set(CPACK_PACKAGE_DESCRIPTION
    "Evaluates arithmetic expressions with sin, cos, tan, sqrt, log, ln, the variables\n\
x, y, z and the previous answer, shows them in postfix notation and plots them\n\
as functions of x.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Calculator developers <calculator@example.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
# The libraries the binary links, with the versions built against, come from
# dpkg-shlibdeps; the Qt platform plugins ship in libqt6gui6, which it finds.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
