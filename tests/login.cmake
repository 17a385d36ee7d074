# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

varnel_add_test(tst_loginmaclabelwidget tst_loginmaclabelwidget.cpp LoginWidgetState.h StrictChild.h)
# The forms are internal: the test builds them itself to set them up on a bare widget.
varnel_add_test(tst_loginmaclabelwidgetforms tst_loginmaclabelwidgetforms.cpp
    ${PROJECT_SOURCE_DIR}/src/login/LoginMacLabelWidgetForm.cpp
    ${PROJECT_SOURCE_DIR}/src/login/NewLoginMacLabelWidgetForm.cpp)
target_include_directories(tst_loginmaclabelwidgetforms PRIVATE "${PROJECT_SOURCE_DIR}/src/login")
varnel_add_test(tst_loginmaclabeldialog tst_loginmaclabeldialog.cpp LoginWidgetState.h StrictChild.h)
