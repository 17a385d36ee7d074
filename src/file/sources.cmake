# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

list(APPEND VARNEL_SOURCES
    file/SpecialAttributesListModel_p.h
    file/SpecialAttributesListModel.cpp
    file/SpecialAttributesProxyListModel_p.h
    file/SpecialAttributesProxyListModel.cpp
    file/FileMacLabelWidgetForm_p.h
    file/FileMacLabelWidgetForm.cpp
    file/FileMacLabelWidget.cpp
)
list(APPEND VARNEL_PUBLIC_HEADERS
    ${PROJECT_SOURCE_DIR}/include/SpecialAttributesListModel.h
    ${PROJECT_SOURCE_DIR}/include/FileMacLabelWidget.h
)
