# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

varnel_add_test(tst_specialattributeslistmodel tst_specialattributeslistmodel.cpp
    # The proxy is internal to the library: the test builds its own copy.
    ${PROJECT_SOURCE_DIR}/src/file/SpecialAttributesProxyListModel_p.h
    ${PROJECT_SOURCE_DIR}/src/file/SpecialAttributesProxyListModel.cpp)
target_include_directories(tst_specialattributeslistmodel PRIVATE "${PROJECT_SOURCE_DIR}/src/file")
target_link_libraries(tst_specialattributeslistmodel PRIVATE ${VARNEL_FILE_RULES})
varnel_add_test(tst_filemaclabelwidget tst_filemaclabelwidget.cpp)
