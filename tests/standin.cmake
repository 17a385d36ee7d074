# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# Tests of the platform stand-in and its companion Qt library.
varnel_add_test(tst_standin_policy tst_standin_policy.cpp StandinStderr.h)
varnel_add_test(tst_standin_texts tst_standin_texts.cpp)
varnel_add_test(tst_standin_faults tst_standin_faults.cpp StandinStderr.h)
varnel_add_test(tst_standin_labels tst_standin_labels.cpp StandinStderr.h)
varnel_add_test(tst_standin_lastchoice tst_standin_lastchoice.cpp StandinStderr.h)
varnel_add_test(tst_common tst_common.cpp)
varnel_add_test(tst_popupwidget tst_popupwidget.cpp)
