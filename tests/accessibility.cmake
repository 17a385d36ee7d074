# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

varnel_add_test(tst_accessibility tst_accessibility.cpp)
