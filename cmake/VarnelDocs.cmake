# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# Writes the Doxygen configuration and the main page for the docs target.
# Run as a script while the target builds, so that the pictures in docs/pics
# are looked for at that moment, not when the tree was configured:
#   cmake -DVARNEL_DOCS_SOURCE=... -DVARNEL_DOCS_OUTPUT=... -DVARNEL_DOCS_VERSION=...
#         [-DVARNEL_DOCS_LIBRARY=libvarnel-mac-qt6] -DVARNEL_DOCS_WERROR=ON|OFF
#         -P cmake/VarnelDocs.cmake
# VARNEL_DOCS_LIBRARY, the flavour the pages are titled with, is the Qt 5
# one unless given.

cmake_policy(VERSION 3.16)

foreach(required VARNEL_DOCS_SOURCE VARNEL_DOCS_OUTPUT VARNEL_DOCS_VERSION)
    if(NOT DEFINED ${required})
        message(FATAL_ERROR "VarnelDocs.cmake needs -D${required}=...")
    endif()
endforeach()
if(NOT DEFINED VARNEL_DOCS_LIBRARY)
    set(VARNEL_DOCS_LIBRARY libvarnel-mac-qt5)
endif()

# The pictures the gallery program makes, each with its caption. The name is
# the file's name without .png; its alias is pic_ and the name with '-' as '_'.
set(pictures
    "gallery|The gallery program: every widget of the library on the built-in policy"
    "maclevelcombobox|VarnelQt5::MacLevelComboBox: the confidentiality levels a user may use"
    "ilevelcombobox|VarnelQt5::ILevelComboBox: the integrity levels a user may use"
    "maccategorylistwidget|VarnelQt5::MacCategoryListWidget: the category checklist"
    "maccategorycombobox|VarnelQt5::MacCategoryComboBox: one category"
    "maccategorypushbutton|VarnelQt5::MacCategoryPushButton: the checklist behind a button"
    "maccategorywidget|VarnelQt5::MacCategoryWidget: the categories as text, with a popup checklist"
    "maccategoryfilteredit|VarnelQt5::MacCategoryFilterEdit: a filter above a category checklist"
    "mactypecombobox|VarnelQt5::MacTypeComboBox: the label types"
    "loginmaclabelwidget|VarnelQt5::LoginMacLabelWidget: the label of a login"
    "loginmaclabeldialog|VarnelQt5::LoginMacLabelDialog, plain form"
    "loginmaclabeldialog-themed|VarnelQt5::LoginMacLabelDialog, themed form"
    "filemaclabelwidget|VarnelQt5::FileMacLabelWidget: the label of a file or directory"
    "varnel-file-label|The varnel-file-label program")

set(bs "\\")
set(q "\"")
set(aliases "")
set(gallery "")
foreach(entry IN LISTS pictures)
    string(FIND "${entry}" "|" bar)
    string(SUBSTRING "${entry}" 0 ${bar} name)
    math(EXPR after "${bar} + 1")
    string(SUBSTRING "${entry}" ${after} -1 caption)
    string(REPLACE "-" "_" id "${name}")
    if(EXISTS "${VARNEL_DOCS_SOURCE}/docs/pics/${name}.png")
        # Doxygen's caption is plain text: the class name goes without scope.
        string(REGEX REPLACE "^VarnelQt5::" "" plainCaption "${caption}")
        string(APPEND aliases
            "ALIASES += ${q}pic_${id}=${bs}image html ${name}.png ${bs}${q}${plainCaption}${bs}${q}${q}\n")
        string(APPEND gallery "${caption}\n\n${bs}image html ${name}.png\n\n")
    else()
        string(APPEND aliases "ALIASES += ${q}pic_${id}=${q}\n")
    endif()
endforeach()

if(gallery STREQUAL "")
    set(VARNEL_DOCS_GALLERY "")
else()
    set(VARNEL_DOCS_GALLERY "${bs}section gallery Gallery\n\n${gallery}")
endif()
set(VARNEL_DOCS_ALIASES "${aliases}")

if(VARNEL_DOCS_WERROR)
    set(VARNEL_DOCS_WARN_AS_ERROR FAIL_ON_WARNINGS)
else()
    set(VARNEL_DOCS_WARN_AS_ERROR NO)
endif()
set(VARNEL_DOCS_PARAMDOC NO)
# A missing picture folder would be a warning of its own.
if(IS_DIRECTORY "${VARNEL_DOCS_SOURCE}/docs/pics")
    set(VARNEL_DOCS_IMAGE_PATH "${VARNEL_DOCS_SOURCE}/docs/pics")
else()
    set(VARNEL_DOCS_IMAGE_PATH "")
endif()
set(VARNEL_DOCS_GENERATED "${VARNEL_DOCS_OUTPUT}/generated")

file(MAKE_DIRECTORY "${VARNEL_DOCS_GENERATED}")
configure_file("${VARNEL_DOCS_SOURCE}/docs/mainpage.dox.in" "${VARNEL_DOCS_GENERATED}/mainpage.dox" @ONLY)
configure_file("${VARNEL_DOCS_SOURCE}/docs/Doxyfile.in" "${VARNEL_DOCS_GENERATED}/Doxyfile" @ONLY)
