# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# The gallery program, run as a process headless against a private policy
# directory, and its window built in.
if(VARNEL_BUILD_PROGRAMS)
    varnel_add_test(tst_gallery tst_gallery.cpp
        ${PROJECT_SOURCE_DIR}/programs/gallery/GalleryWindow.h
        ${PROJECT_SOURCE_DIR}/programs/gallery/GalleryWindow.cpp
        ${PROJECT_SOURCE_DIR}/programs/gallery/FilePanel.h
        ${PROJECT_SOURCE_DIR}/programs/gallery/FilePanel.cpp
        ${PROJECT_SOURCE_DIR}/programs/gallery/LabelWords.h
        ${PROJECT_SOURCE_DIR}/programs/gallery/LabelWords.cpp)
    target_include_directories(tst_gallery PRIVATE "${PROJECT_SOURCE_DIR}/programs/gallery")
    target_compile_definitions(tst_gallery PRIVATE
        VARNEL_GALLERY="$<TARGET_FILE:varnel-gallery>"
        VARNEL_PROGRAM_VERSION="${PROJECT_VERSION}"
        VARNEL_PROGRAM_LIBRARY="lib${VARNEL_LIBRARY}")
    add_dependencies(tst_gallery varnel-gallery)
endif()
