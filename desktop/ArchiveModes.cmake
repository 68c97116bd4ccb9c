# cpack runs this on the packages it wrote. A .deb is an ar archive of three
# members; CMake 3.25 gives them the modes the umask leaves, so the same
# package built under umask 077 would differ from one built under 022. Each
# member gets 0644, as dpkg-deb writes them. An ar member's header is 60
# bytes of text: its mode is the octal number at offset 40, its size the
# decimal at 48, and the data that follows is padded to an even length.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  if(NOT deb MATCHES "\\.deb$")
    continue()
  endif()
  file(SIZE "${deb}" end)
  set(offset 8) # after "!<arch>\n"
  while(offset LESS end)
    file(READ "${deb}" header OFFSET ${offset} LIMIT 60)
    string(SUBSTRING "${header}" 48 10 size)
    string(STRIP "${size}" size)
    if(NOT size MATCHES "^[0-9]+$")
      message(FATAL_ERROR "${deb}: no ar member header at byte ${offset}")
    endif()
    math(EXPR mode_at "${offset} + 40")
    execute_process(COMMAND sh -c "printf '100644  ' | dd of=\"$0\" bs=1 seek=$1 conv=notrunc status=none"
                            "${deb}" ${mode_at}
                    RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "${deb}: could not set the mode of the ar member at byte ${offset}")
    endif()
    math(EXPR offset "${offset} + 60 + ${size} + ${size} % 2")
  endwhile()
endforeach()
