# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# The API documentation: clean under any set of pictures, showing those that
# exist. Needs Doxygen; without it the docs target does not exist either.
find_package(Doxygen QUIET)
if(DOXYGEN_FOUND)
    add_test(NAME api_docs_pictures
        COMMAND "${CMAKE_CURRENT_SOURCE_DIR}/check-docs.sh" "${CMAKE_COMMAND}"
            "${DOXYGEN_EXECUTABLE}" "${PROJECT_SOURCE_DIR}"
            "${CMAKE_CURRENT_BINARY_DIR}/docs-scratch")
    set_tests_properties(api_docs_pictures PROPERTIES TIMEOUT 120)
endif()
