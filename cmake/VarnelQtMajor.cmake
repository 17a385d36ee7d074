# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# One setting chooses the Qt major version; every Qt target, Qt function and
# Qt package name, and every installed name that carries the major, comes
# from it, so that the two flavours install side by side. A parent project's
# QT_MAJOR_VERSION is the default.
if(DEFINED QT_MAJOR_VERSION)
    set(VARNEL_QT_MAJOR_DEFAULT "${QT_MAJOR_VERSION}")
else()
    set(VARNEL_QT_MAJOR_DEFAULT 5)
endif()
set(VARNEL_QT_MAJOR "${VARNEL_QT_MAJOR_DEFAULT}" CACHE STRING "The Qt major version to build for: 5 or 6")
set_property(CACHE VARNEL_QT_MAJOR PROPERTY STRINGS 5 6)
if(NOT VARNEL_QT_MAJOR MATCHES "^[56]$")
    message(FATAL_ERROR "VARNEL_QT_MAJOR is ${VARNEL_QT_MAJOR}; it must be 5 or 6")
endif()

# The Qt package and target prefix (Qt5, Qt6) and the lowest version.
set(VARNEL_QT "Qt${VARNEL_QT_MAJOR}")
# What is deprecated up to that version is kept out of the build.
if(VARNEL_QT_MAJOR EQUAL 5)
    set(VARNEL_QT_MIN_VERSION 5.15)
    set(VARNEL_QT_DISABLE_DEPRECATED_BEFORE 0x050F00)
else()
    set(VARNEL_QT_MIN_VERSION 6.4)
    set(VARNEL_QT_DISABLE_DEPRECATED_BEFORE 0x060400)
endif()

# The library (file, target, header folder, pkg-config module, catalogue
# base name), the CMake package and its namespace, the qmake module, the
# Designer plugin, and the platform's companion Qt library.
set(VARNEL_LIBRARY "varnel-mac-qt${VARNEL_QT_MAJOR}")
set(VARNEL_CATALOGUE "lib${VARNEL_LIBRARY}")
set(VARNEL_PACKAGE "VarnelMacQt${VARNEL_QT_MAJOR}")
set(VARNEL_QMAKE_MODULE "varnelmacqt${VARNEL_QT_MAJOR}")
set(VARNEL_DESIGNER_PLUGIN "varnelmacqt${VARNEL_QT_MAJOR}widgets")
set(VARNEL_COMMON "varnel-common-qt${VARNEL_QT_MAJOR}")
set(VARNEL_COMMON_TARGET "Varnel::CommonQt${VARNEL_QT_MAJOR}")
# Qt's own folders below LIBDIR for qmake modules and plugins.
set(VARNEL_QT_LIBDIR_FOLDER "qt${VARNEL_QT_MAJOR}")
# The stand-in's pkg-config module, which names the companion library.
if(VARNEL_QT_MAJOR EQUAL 5)
    set(VARNEL_STANDIN_PC "varnel-standin")
else()
    set(VARNEL_STANDIN_PC "varnel-standin-qt${VARNEL_QT_MAJOR}")
endif()

# varnel_add_catalogue(OUTPUT_VAR TS QM): compiles the catalogue TS into the
# file QM and appends QM to OUTPUT_VAR.
function(varnel_add_catalogue output ts qm)
    get_filename_component(folder "${qm}" DIRECTORY)
    add_custom_command(OUTPUT "${qm}"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${folder}"
        COMMAND ${VARNEL_QT}::lrelease -silent "${ts}" -qm "${qm}"
        DEPENDS "${ts}" ${VARNEL_QT}::lrelease
        VERBATIM)
    set(${output} ${${output}} "${qm}" PARENT_SCOPE)
endfunction()
