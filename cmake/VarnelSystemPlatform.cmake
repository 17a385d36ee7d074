# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# The system's own label policy libraries and companion Qt library, in place of
# the stand-in. Provides Varnel::Services and Varnel::CommonQt5 (or
# Varnel::CommonQt6 for VARNEL_QT_MAJOR 6), whose headers are included by
# name alone from their folder.
set(VARNEL_SERVICES_LIBRARY_NAMES "tav;varnel-mic;varnel-mac" CACHE STRING
    "Libraries that provide the label policy services")

if(NOT TARGET Varnel::Services)
    add_library(Varnel::Services INTERFACE IMPORTED)
    foreach(name IN LISTS VARNEL_SERVICES_LIBRARY_NAMES)
        find_library(VARNEL_SERVICES_${name} NAMES ${name} REQUIRED)
        set_property(TARGET Varnel::Services APPEND PROPERTY
            INTERFACE_LINK_LIBRARIES "${VARNEL_SERVICES_${name}}")
    endforeach()
endif()

if(NOT DEFINED VARNEL_QT_MAJOR)
    set(VARNEL_QT_MAJOR 5)
endif()
if(NOT TARGET Varnel::CommonQt${VARNEL_QT_MAJOR})
    find_library(VARNEL_COMMON_QT${VARNEL_QT_MAJOR}_LIBRARY NAMES varnel-common-qt${VARNEL_QT_MAJOR} REQUIRED)
    find_path(VARNEL_COMMON_QT${VARNEL_QT_MAJOR}_INCLUDE_DIR varnel-common-qt${VARNEL_QT_MAJOR}/PopupWidget.h REQUIRED)
    add_library(Varnel::CommonQt${VARNEL_QT_MAJOR} UNKNOWN IMPORTED)
    set_target_properties(Varnel::CommonQt${VARNEL_QT_MAJOR} PROPERTIES
        IMPORTED_LOCATION "${VARNEL_COMMON_QT${VARNEL_QT_MAJOR}_LIBRARY}"
        INTERFACE_INCLUDE_DIRECTORIES
            "${VARNEL_COMMON_QT${VARNEL_QT_MAJOR}_INCLUDE_DIR}/varnel-common-qt${VARNEL_QT_MAJOR};${VARNEL_COMMON_QT${VARNEL_QT_MAJOR}_INCLUDE_DIR}")
endif()
