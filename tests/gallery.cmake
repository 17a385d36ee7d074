# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# The gallery program, run as a process headless against a private policy
# directory, and its window built in from the gallery's core.
if(VARNEL_BUILD_PROGRAMS)
    varnel_add_test(tst_gallery tst_gallery.cpp)
    target_link_libraries(tst_gallery PRIVATE varnel-gallery-core)
    target_compile_definitions(tst_gallery PRIVATE
        VARNEL_GALLERY="$<TARGET_FILE:varnel-gallery>"
        VARNEL_PROGRAM_VERSION="${PROJECT_VERSION}")
    add_dependencies(tst_gallery varnel-gallery)
endif()
