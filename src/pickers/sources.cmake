# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

list(APPEND VARNEL_SOURCES
    pickers/CategoryRows_p.h
    pickers/CategoryTypeAhead.cpp
    pickers/LockReasons.cpp
    pickers/ComboPicker_p.h
    pickers/PickerMetaTypes_p.h
    pickers/MacLevelComboBox.cpp
    pickers/ILevelComboBox.cpp
    pickers/MacCategoryListWidget.cpp
    pickers/MacCategoryComboBox.cpp
    pickers/MacTypeComboBox.cpp
    pickers/MacCategoryPushButton.cpp
    pickers/MacCategoryWidget.cpp
    pickers/MacCategoryFilterEdit.cpp
)
list(APPEND VARNEL_PUBLIC_HEADERS
    ${PROJECT_SOURCE_DIR}/include/MacLevelComboBox.h
    ${PROJECT_SOURCE_DIR}/include/ILevelComboBox.h
    ${PROJECT_SOURCE_DIR}/include/MacCategoryListWidget.h
    ${PROJECT_SOURCE_DIR}/include/MacCategoryComboBox.h
    ${PROJECT_SOURCE_DIR}/include/MacTypeComboBox.h
    ${PROJECT_SOURCE_DIR}/include/MacCategoryPushButton.h
    ${PROJECT_SOURCE_DIR}/include/MacCategoryWidget.h
    ${PROJECT_SOURCE_DIR}/include/MacCategoryFilterEdit.h
)
