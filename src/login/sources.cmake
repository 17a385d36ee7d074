# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

list(APPEND VARNEL_SOURCES
    login/BreakableText_p.h
    login/LoginFormParts_p.h
    login/LoginParent.cpp
    login/LoginReasons_p.h
    login/UnresolvedUser_p.h
    login/LoginMacLabelWidgetForm_p.h
    login/LoginMacLabelWidgetForm.cpp
    login/NewLoginMacLabelWidgetForm_p.h
    login/NewLoginMacLabelWidgetForm.cpp
    login/LoginMacLabelWidget.cpp
    login/LoginMacLabelDialog.cpp
)
list(APPEND VARNEL_PUBLIC_HEADERS
    ${PROJECT_SOURCE_DIR}/include/LoginMacLabelWidget.h
    ${PROJECT_SOURCE_DIR}/include/LoginMacLabelDialog.h
)
