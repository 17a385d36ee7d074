# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

varnel_add_test(tst_hierarchymodel tst_hierarchymodel.cpp)
varnel_add_test(tst_macfilemodel tst_macfilemodel.cpp)
varnel_add_test(tst_macfileitem tst_macfileitem.cpp)

# The file model's tests once more with directory entries that carry no
# type, so that the walk's lstat fallback runs. A preloaded library comes
# before the sanitizer's runtime, which must be told to accept that.
add_library(typeless-readdir SHARED typeless_readdir.c)
target_link_libraries(typeless-readdir PRIVATE ${CMAKE_DL_LIBS})
set_target_properties(typeless-readdir PROPERTIES C_VISIBILITY_PRESET default)
add_dependencies(tst_macfilemodel typeless-readdir)
get_test_property(tst_macfilemodel ENVIRONMENT VARNEL_TYPELESS_ENVIRONMENT)
add_test(NAME tst_macfilemodel_typeless COMMAND tst_macfilemodel)
set_tests_properties(tst_macfilemodel_typeless PROPERTIES
    TIMEOUT 120
    ENVIRONMENT "${VARNEL_TYPELESS_ENVIRONMENT};LD_PRELOAD=$<TARGET_FILE:typeless-readdir>;VARNEL_TYPELESS_ENTRIES=1"
    ENVIRONMENT_MODIFICATION "ASAN_OPTIONS=string_append::verify_asan_link_order=0")
