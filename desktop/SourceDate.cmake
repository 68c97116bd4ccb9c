# cpack reads this before it packs. Every time stamp in the package is
# SOURCE_DATE_EPOCH's, so the same sources give the same package byte for
# byte. When the variable is not set: the time of the commit checked out in
# the source folder, or, outside a git checkout, the changelog's date.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C "${CPACK_CALC_SOURCE_DIR}" log -1 --format=%ct
                  OUTPUT_VARIABLE epoch RESULT_VARIABLE failed
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(failed OR NOT epoch MATCHES "^[0-9]+$")
    set(epoch ${CPACK_CALC_RELEASE_EPOCH})
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()
