# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# The Qt Designer plugin, loaded from the build tree as Designer loads it.
if(TARGET ${VARNEL_DESIGNER_PLUGIN})
    varnel_add_test(tst_designerplugin tst_designerplugin.cpp)
    target_link_libraries(tst_designerplugin PRIVATE ${VARNEL_QT}::UiPlugin)
    target_compile_definitions(tst_designerplugin PRIVATE
        VARNEL_DESIGNER_PLUGIN="$<TARGET_FILE:${VARNEL_DESIGNER_PLUGIN}>"
        VARNEL_PUBLIC_HEADERS_DIR="${PROJECT_SOURCE_DIR}/include")
    add_dependencies(tst_designerplugin ${VARNEL_DESIGNER_PLUGIN})
endif()
