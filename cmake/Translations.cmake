# The program's texts in other languages. lupdate (Qt Linguist) collects every
# text of the sources marked for translation into
# translations/calculator_<language>.ts, where a translator fills them in;
# lrelease compiles each into the program as a resource under ":/i18n", which
# platform/Translations.cpp loads. After texts of the sources change, bring the
# .ts files up to date with
#   cmake --build build --target update_translations
# then translate what it marks unfinished (linguist, or any text editor).
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)

set(CALC_TS_FILES ${PROJECT_SOURCE_DIR}/translations/calculator_pt_BR.ts)
# No line numbers in the .ts files, so that they change only when texts do;
# texts no longer in the sources are dropped.
set(CALC_LUPDATE $<TARGET_FILE:Qt6::lupdate> -silent -locations none -no-obsolete
    -source-language en -extensions cpp,h -I ${PROJECT_SOURCE_DIR}
    ${PROJECT_SOURCE_DIR}/calculator ${PROJECT_SOURCE_DIR}/graph ${PROJECT_SOURCE_DIR}/platform)
add_custom_target(update_translations COMMAND ${CALC_LUPDATE} -ts ${CALC_TS_FILES} VERBATIM)

qt_add_lrelease(platform TS_FILES ${CALC_TS_FILES} QM_FILES_OUTPUT_VARIABLE calc_qm_files
                OPTIONS -silent NO_GLOBAL_TARGET)
# Format 1 records no file times, which would differ from one build to the next.
qt_add_resources(platform translations PREFIX /i18n BASE ${CMAKE_CURRENT_BINARY_DIR}
                 FILES ${calc_qm_files} OPTIONS --format-version 1)
