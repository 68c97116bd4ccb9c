# add_wayland_protocols(TARGET client|server) adds to TARGET the code of the
# Wayland protocols beyond the core that are spoken outside Qt (xdg-shell and
# xdg-decoration): the headers for that side and the interface tables,
# generated at build time by wayland-scanner from wayland-protocols' XML.
find_package(PkgConfig REQUIRED)
pkg_get_variable(WAYLAND_SCANNER wayland-scanner wayland_scanner)
pkg_get_variable(WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
if(NOT WAYLAND_SCANNER OR NOT WAYLAND_PROTOCOLS_DIR)
  message(FATAL_ERROR "wayland-scanner (libwayland-dev) and wayland-protocols are needed")
endif()

function(add_wayland_protocols target side)
  foreach(protocol stable/xdg-shell/xdg-shell unstable/xdg-decoration/xdg-decoration-unstable-v1)
    get_filename_component(name ${protocol} NAME)
    set(xml ${WAYLAND_PROTOCOLS_DIR}/${protocol}.xml)
    set(header ${CMAKE_CURRENT_BINARY_DIR}/${name}-${side}-protocol.h)
    set(code ${CMAKE_CURRENT_BINARY_DIR}/${name}-protocol.c)
    add_custom_command(OUTPUT ${header} ${code}
      COMMAND ${WAYLAND_SCANNER} ${side}-header ${xml} ${header}
      COMMAND ${WAYLAND_SCANNER} private-code ${xml} ${code}
      DEPENDS ${xml} VERBATIM)
    target_sources(${target} PRIVATE ${header} ${code})
  endforeach()
  # Not ours to warn about: the compiler and clang-tidy pass them by.
  target_include_directories(${target} SYSTEM PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
endfunction()
