# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# The Properties page in KIO's own dialog, which KIO finds in the build tree
# through QT_PLUGIN_PATH. KIO keeps its settings and caches apart from the
# user's.
if(TARGET ${VARNEL_KIO_PLUGIN})
    varnel_add_test(tst_maclabelpropertiesplugin tst_maclabelpropertiesplugin.cpp)
    target_link_libraries(tst_maclabelpropertiesplugin PRIVATE KF${VARNEL_QT_MAJOR}::KIOWidgets)
    target_compile_definitions(tst_maclabelpropertiesplugin PRIVATE
        VARNEL_PLUGIN_DIR="${PROJECT_BINARY_DIR}/plugins"
        VARNEL_QM_DIR="${VARNEL_QM_DIR}")
    add_dependencies(tst_maclabelpropertiesplugin ${VARNEL_KIO_PLUGIN} varnel-translations)
    set(home "${CMAKE_CURRENT_BINARY_DIR}/home-tst_maclabelpropertiesplugin")
    set_property(TEST tst_maclabelpropertiesplugin APPEND PROPERTY ENVIRONMENT
        "QT_PLUGIN_PATH=${PROJECT_BINARY_DIR}/plugins"
        "XDG_CONFIG_HOME=${home}/config"
        "XDG_CACHE_HOME=${home}/cache"
        "XDG_DATA_HOME=${home}/data")
    # Under AddressSanitizer: KIO's dialog leaves behind the jobs it started
    # (free space, sizes) when it is deleted before they end, and their
    # frames in KIO carry no names a suppression could tell from the page's
    # own. Memory errors stay fatal; the platform handles the page leaves
    # are counted by the test itself.
    if(CMAKE_CXX_FLAGS MATCHES "-fsanitize=[^ ]*address")
        set_property(TEST tst_maclabelpropertiesplugin APPEND PROPERTY ENVIRONMENT
            "ASAN_OPTIONS=detect_leaks=0:halt_on_error=1")
    endif()
endif()
