# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

list(APPEND VARNEL_SOURCES
    tree/HierarchyItem.cpp
    tree/HierarchyModel.cpp
    tree/MacFileItem_p.h
    tree/MacFileItem.cpp
    tree/MacFileModel.cpp
    tree/PreOrder_p.h
)
list(APPEND VARNEL_PUBLIC_HEADERS
    ${PROJECT_SOURCE_DIR}/include/HierarchyItem.h
    ${PROJECT_SOURCE_DIR}/include/HierarchyModel.h
    ${PROJECT_SOURCE_DIR}/include/MacFileItem.h
    ${PROJECT_SOURCE_DIR}/include/MacFileModel.h
)
