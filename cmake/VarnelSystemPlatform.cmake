# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# The system's own label policy libraries and companion Qt library, in place of
# the stand-in. Provides Varnel::Services and Varnel::CommonQt5.
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

if(NOT TARGET Varnel::CommonQt5)
    find_library(VARNEL_COMMON_QT5_LIBRARY NAMES varnel-common-qt5 REQUIRED)
    find_path(VARNEL_COMMON_QT5_INCLUDE_DIR varnel-common-qt5/PopupWidget.h REQUIRED)
    add_library(Varnel::CommonQt5 UNKNOWN IMPORTED)
    set_target_properties(Varnel::CommonQt5 PROPERTIES
        IMPORTED_LOCATION "${VARNEL_COMMON_QT5_LIBRARY}"
        INTERFACE_INCLUDE_DIRECTORIES "${VARNEL_COMMON_QT5_INCLUDE_DIR}")
endif()
