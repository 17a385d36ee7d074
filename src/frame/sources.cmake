# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

list(APPEND VARNEL_SOURCES
    frame/AccessibleRows_p.h
    frame/AccessibleRows.cpp
    frame/CategoryBits_p.h
    frame/FittedRows_p.h
    frame/FittedRows.cpp
    frame/FormCaption_p.h
    frame/LabelTexts_p.h
    frame/LabelTexts.cpp
    frame/LibraryGlobals_p.h
    frame/LibraryStartup.cpp
    frame/LockReasons_p.h
    frame/LoginParent_p.h
    frame/PlatformHandles_p.h
    frame/PlatformHandles.cpp
    frame/labelpolicy.h
)
list(APPEND VARNEL_PUBLIC_HEADERS
    ${PROJECT_SOURCE_DIR}/include/VarnelMacTypes.h
)
