# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# varnel-choose-label and varnel-file-label, run as processes against the
# stand-in; then the texts and manual pages of all three programs.
if(VARNEL_BUILD_PROGRAMS)
    varnel_add_test(tst_varnel_choose_label tst_varnel_choose_label.cpp ProgramRun.h)
    target_compile_definitions(tst_varnel_choose_label PRIVATE
        CHOOSE_LABEL="$<TARGET_FILE:varnel-choose-label>"
        VARNEL_PROGRAM_VERSION="${PROJECT_VERSION}")
    add_dependencies(tst_varnel_choose_label varnel-choose-label)

    # The file tool along its parts: the command line, the window (also
    # tested in the test's own process), and the arguments and exit status.
    foreach(part IN ITEMS command window arguments)
        set(name tst_varnel_file_label_${part})
        varnel_add_test(${name} ${name}.cpp ProgramRun.h FileLabelRun.h)
        target_link_libraries(${name} PRIVATE varnel-file-label-core)
        target_compile_definitions(${name} PRIVATE FILE_LABEL="$<TARGET_FILE:varnel-file-label>")
        add_dependencies(${name} varnel-file-label)
    endforeach()
endif()

# The programs' texts in the locale's language, the catalogues found in the
# build tree.
if(VARNEL_BUILD_PROGRAMS)
    varnel_add_test(tst_programs_language tst_programs_language.cpp)
    target_compile_definitions(tst_programs_language PRIVATE
        VARNEL_GALLERY="$<TARGET_FILE:varnel-gallery>"
        CHOOSE_LABEL="$<TARGET_FILE:varnel-choose-label>"
        FILE_LABEL="$<TARGET_FILE:varnel-file-label>")
    add_dependencies(tst_programs_language varnel-gallery varnel-choose-label varnel-file-label varnel-translations)
endif()

# The manual pages of the Debian packages against the programs' --help.
if(VARNEL_BUILD_PROGRAMS)
    add_test(NAME manpages_match_help
        COMMAND "${CMAKE_CURRENT_SOURCE_DIR}/check-manpages.sh" "${PROJECT_SOURCE_DIR}/debian/man"
            "$<TARGET_FILE:varnel-choose-label>" "$<TARGET_FILE:varnel-file-label>"
            "$<TARGET_FILE:varnel-gallery>")
endif()
