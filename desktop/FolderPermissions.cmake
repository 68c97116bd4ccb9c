# cpack runs this on its staging tree before packing it. A Debian package needs
# its folders 0755, but CMake 3.25 creates them with whatever the umask leaves
# (CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS does not reach them). Without
# its folder it stops: an empty name would change every folder under "/".
if(NOT IS_DIRECTORY "${CPACK_TEMPORARY_DIRECTORY}" OR "${CPACK_TEMPORARY_DIRECTORY}" MATCHES "^/*$")
  message(FATAL_ERROR "FolderPermissions.cmake runs on cpack's staging folder, "
                      "but CPACK_TEMPORARY_DIRECTORY is \"${CPACK_TEMPORARY_DIRECTORY}\"")
endif()
file(GLOB_RECURSE entries LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
set(folders "${CPACK_TEMPORARY_DIRECTORY}")
foreach(entry IN LISTS entries)
  if(IS_DIRECTORY "${entry}" AND NOT IS_SYMLINK "${entry}")
    list(APPEND folders "${entry}")
  endif()
endforeach()
file(CHMOD ${folders} DIRECTORY_PERMISSIONS
     OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
