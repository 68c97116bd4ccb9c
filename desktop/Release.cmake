# The release the files of desktop/ describe: its version is project()'s, and
# its date is that of the changelog's latest entry, which must name the same
# version. The manual page and the metadata take both from here; the date is
# also the package's time stamp outside a git checkout (desktop/SourceDate.cmake).
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/changelog calc_changelog_top REGEX "^calculator \\(" LIMIT_COUNT 1)
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/changelog calc_changelog_date REGEX "^ -- .*>  " LIMIT_COUNT 1)
string(REGEX REPLACE "^calculator \\(([^)]*)\\).*" "\\1" calc_changelog_version "${calc_changelog_top}")
if(NOT calc_changelog_version STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "desktop/changelog's latest entry is version \"${calc_changelog_version}\", "
                      "but project() says ${PROJECT_VERSION}: add an entry for ${PROJECT_VERSION}")
endif()

string(REGEX REPLACE "^ -- .*>  " "" calc_changelog_date "${calc_changelog_date}")
execute_process(COMMAND date -u -d "${calc_changelog_date}" "+%F %s"
                OUTPUT_VARIABLE calc_release RESULT_VARIABLE failed OUTPUT_STRIP_TRAILING_WHITESPACE)
if(failed OR NOT calc_release MATCHES "^([0-9-]+) ([0-9]+)$")
  message(FATAL_ERROR "desktop/changelog's latest entry has no date that date(1) reads: \"${calc_changelog_date}\"")
endif()
set(CALC_RELEASE_DATE ${CMAKE_MATCH_1})
set(CALC_RELEASE_EPOCH ${CMAKE_MATCH_2})
