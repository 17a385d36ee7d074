# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# The programs in programs/, run as processes against the stand-in.
if(VARNEL_BUILD_PROGRAMS)
    varnel_add_test(tst_varnel_choose_label tst_varnel_choose_label.cpp ProgramRun.h)
    target_compile_definitions(tst_varnel_choose_label PRIVATE
        CHOOSE_LABEL="$<TARGET_FILE:varnel-choose-label>"
        VARNEL_PROGRAM_VERSION="${PROJECT_VERSION}")
    add_dependencies(tst_varnel_choose_label varnel-choose-label)

    # The window is tested in the test's own process as well.
    varnel_add_test(tst_varnel_file_label tst_varnel_file_label.cpp ProgramRun.h
        ${PROJECT_SOURCE_DIR}/programs/file-label/FileLabel.cpp
        ${PROJECT_SOURCE_DIR}/programs/file-label/LabelEditor.cpp
        ${PROJECT_SOURCE_DIR}/programs/file-label/LabelCommand.cpp
        ${PROJECT_SOURCE_DIR}/programs/file-label/LabelNames.cpp
        ${PROJECT_SOURCE_DIR}/programs/file-label/TreeWalk.cpp
        ${PROJECT_SOURCE_DIR}/programs/file-label/FileLabelWindow.h
        ${PROJECT_SOURCE_DIR}/programs/file-label/FileLabelWindow.cpp
        ${PROJECT_SOURCE_DIR}/programs/file-label/CategoryFilter.cpp)
    target_include_directories(tst_varnel_file_label PRIVATE "${PROJECT_SOURCE_DIR}/programs/file-label")
    target_link_libraries(tst_varnel_file_label PRIVATE ${VARNEL_FILE_RULES})
    target_compile_definitions(tst_varnel_file_label PRIVATE
        FILE_LABEL="$<TARGET_FILE:varnel-file-label>")
    add_dependencies(tst_varnel_file_label varnel-file-label)
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
