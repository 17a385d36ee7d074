# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

varnel_add_test(tst_maclevelcombobox tst_maclevelcombobox.cpp)
varnel_add_test(tst_ilevelcombobox tst_ilevelcombobox.cpp)
varnel_add_test(tst_maccategorylistwidget tst_maccategorylistwidget.cpp)
varnel_add_test(tst_maccategorycombobox tst_maccategorycombobox.cpp)
varnel_add_test(tst_mactypecombobox tst_mactypecombobox.cpp)
varnel_add_test(tst_maccategorywidget tst_maccategorywidget.cpp)
varnel_add_test(tst_maccategorypushbutton tst_maccategorypushbutton.cpp)
varnel_add_test(tst_lockreasons tst_lockreasons.cpp)
target_compile_definitions(tst_lockreasons PRIVATE VARNEL_QM_DIR="${VARNEL_QM_DIR}")
add_dependencies(tst_lockreasons varnel-translations)
varnel_add_test(tst_maccategoryfilteredit tst_maccategoryfilteredit.cpp)
varnel_add_test(tst_pickerwalk tst_pickerwalk.cpp)
