# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# The start-up code, built once more into a probe library whose catalogue
# directory is in the build tree, so that loading a catalogue can be tested
# without writing into system folders.
set(VARNEL_PROBE_CATALOGUE_DIR "${CMAKE_CURRENT_BINARY_DIR}/startup-catalogue")
set(VARNEL_PROBE_TS "${CMAKE_CURRENT_SOURCE_DIR}/startup/libvarnel-mac-qt5_de.ts")
set(VARNEL_PROBE_QM "")
varnel_add_catalogue(VARNEL_PROBE_QM "${VARNEL_PROBE_TS}" "${VARNEL_PROBE_CATALOGUE_DIR}/${VARNEL_CATALOGUE}_de.qm")

add_library(varnel-startup-probe SHARED
    "${PROJECT_SOURCE_DIR}/src/frame/LibraryStartup.cpp"
    startup/StartupProbe.cpp
    ${VARNEL_PROBE_QM})
target_compile_definitions(varnel-startup-probe PRIVATE
    VARNEL_TRANSLATIONS_DIR="${VARNEL_PROBE_CATALOGUE_DIR}"
    VARNEL_PREFIX_TRANSLATIONS_DIR="${VARNEL_PREFIX_TRANSLATIONS_DIR}"
    VARNEL_CATALOGUE="${VARNEL_CATALOGUE}")
target_include_directories(varnel-startup-probe PRIVATE
    "${PROJECT_SOURCE_DIR}/src/frame" "${PROJECT_SOURCE_DIR}/include")
target_link_libraries(varnel-startup-probe PRIVATE ${VARNEL_QT}::Core Varnel::Services ${CMAKE_DL_LIBS})

add_executable(startup_host startup/StartupHost.cpp)
target_link_libraries(startup_host PRIVATE ${VARNEL_QT}::Core ${CMAKE_DL_LIBS})

varnel_add_test(tst_startup tst_startup.cpp)
target_compile_definitions(tst_startup PRIVATE
    STARTUP_HOST="$<TARGET_FILE:startup_host>"
    STARTUP_PROBE="$<TARGET_FILE:varnel-startup-probe>"
    VARNEL_LIBRARY="$<TARGET_FILE:${VARNEL_LIBRARY}>"
    PROBE_CATALOGUE="${VARNEL_PROBE_CATALOGUE_DIR}/${VARNEL_CATALOGUE}_de.qm"
    LIBRARY_CATALOGUE="${VARNEL_QM_DIR}/${VARNEL_CATALOGUE}_de.qm"
    INSTALL_LIBDIR="${CMAKE_INSTALL_LIBDIR}"
    INSTALL_TRANSLATIONS_DIR="${VARNEL_TRANSLATIONS_INSTALL_DIR}")
add_dependencies(tst_startup startup_host varnel-startup-probe varnel-translations)

option(VARNEL_TEST_INSTALL "Test that a program outside the tree builds against the installed package" ON)
if(VARNEL_TEST_INSTALL)
    add_test(NAME install_and_use_from_outside
        COMMAND "${CMAKE_CURRENT_SOURCE_DIR}/consumer/check-install.sh"
            "${PROJECT_BINARY_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}/consumer"
            "${CMAKE_CURRENT_BINARY_DIR}/consumer-scratch" "${PROJECT_VERSION}" "${VARNEL_QT_MAJOR}")
    # Installing writes into the build tree (install_manifest.txt, the
    # pkg-config and qmake files for the prefix), so one at a time.
    set_tests_properties(install_and_use_from_outside PROPERTIES TIMEOUT 300 RESOURCE_LOCK varnel_install)
    # The library in a prefix moved after installation, in German.
    add_test(NAME install_moved_prefix_language
        COMMAND "${CMAKE_CURRENT_SOURCE_DIR}/check-moved-prefix.sh" "${PROJECT_BINARY_DIR}"
            "$<TARGET_FILE:startup_host>" "${CMAKE_CURRENT_BINARY_DIR}/moved-prefix-scratch" "${VARNEL_QT_MAJOR}"
            "${CMAKE_INSTALL_LIBDIR}")
    set_tests_properties(install_moved_prefix_language PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77
        RESOURCE_LOCK varnel_install)
endif()

# Both Qt majors installed into one prefix, given a build tree of the other.
set(VARNEL_OTHER_MAJOR_BUILD "" CACHE PATH
    "A built tree of the library for the other Qt major; the tests then install both into one prefix")
if(VARNEL_OTHER_MAJOR_BUILD)
    if(VARNEL_QT_MAJOR EQUAL 5)
        set(builds "${PROJECT_BINARY_DIR}" "${VARNEL_OTHER_MAJOR_BUILD}")
    else()
        set(builds "${VARNEL_OTHER_MAJOR_BUILD}" "${PROJECT_BINARY_DIR}")
    endif()
    add_test(NAME install_side_by_side
        COMMAND "${CMAKE_CURRENT_SOURCE_DIR}/consumer/check-side-by-side.sh" ${builds}
            "${CMAKE_CURRENT_SOURCE_DIR}/consumer" "${CMAKE_CURRENT_BINARY_DIR}/side-by-side-scratch"
            "${PROJECT_VERSION}")
    set_tests_properties(install_side_by_side PROPERTIES TIMEOUT 600 RESOURCE_LOCK varnel_install)
endif()

# Warnings are no errors unless asked for.
add_test(NAME werror_default
    COMMAND "${CMAKE_CURRENT_SOURCE_DIR}/check-werror-default.sh" "${PROJECT_SOURCE_DIR}"
        "${CMAKE_CURRENT_BINARY_DIR}/werror-default-scratch" "${VARNEL_QT_MAJOR}")
set_tests_properties(werror_default PROPERTIES TIMEOUT 300)

# The Qt major setting, configured inside a parent project.
add_test(NAME qt_major_setting
    COMMAND "${CMAKE_CURRENT_SOURCE_DIR}/check-qt-major.sh" "${PROJECT_SOURCE_DIR}"
        "${CMAKE_CURRENT_BINARY_DIR}/qt-major-scratch" "${VARNEL_QT_MAJOR}")
set_tests_properties(qt_major_setting PROPERTIES TIMEOUT 300)

add_test(NAME library_exports
    COMMAND "${CMAKE_CURRENT_SOURCE_DIR}/check-exports.sh" "$<TARGET_FILE:${VARNEL_LIBRARY}>" "${VARNEL_QT_MAJOR}")

add_test(NAME catalogue_up_to_date
    COMMAND "${CMAKE_CURRENT_SOURCE_DIR}/check-catalogue.sh" "$<TARGET_FILE:${VARNEL_QT}::lupdate>"
        "${PROJECT_SOURCE_DIR}" src:include:kio-properties ${VARNEL_TS_FILES})
add_test(NAME programs_catalogue_up_to_date
    COMMAND "${CMAKE_CURRENT_SOURCE_DIR}/check-catalogue.sh" "$<TARGET_FILE:${VARNEL_QT}::lupdate>"
        "${PROJECT_SOURCE_DIR}" programs ${VARNEL_PROGRAMS_TS_FILES})

varnel_add_test(tst_translations tst_translations.cpp)
target_compile_definitions(tst_translations PRIVATE VARNEL_QM_DIR="${VARNEL_QM_DIR}")
add_dependencies(tst_translations varnel-translations)
