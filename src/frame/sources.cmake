# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

list(APPEND VARNEL_SOURCES
    frame/AccessibleRows_p.h
    frame/AccessibleRows.cpp
    frame/FittedRows_p.h
    frame/FittedRows.cpp
    frame/FormCaption_p.h
    frame/LibraryGlobals_p.h
    frame/LibraryStartup.cpp
    frame/PlatformHandles_p.h
    frame/PlatformHandles.cpp
    frame/labelpolicy.h
)
list(APPEND VARNEL_PUBLIC_HEADERS
    ${PROJECT_SOURCE_DIR}/include/VarnelMacTypes.h
)
