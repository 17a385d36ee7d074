# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# Removes the files one flavour's `cmake --install` wrote, as its
# install_manifest.txt lists them. Both flavours install the stand-in's plain
# C services (libvarnel-standin and varnel-standin.h); those stay while the
# other flavour's companion library lies beside the services, and go with the
# last flavour. Run by the uninstall target:
#   cmake -DVARNEL_MANIFEST=... -DVARNEL_COMMON=varnel-common-qtN -P cmake/VarnelUninstall.cmake

cmake_policy(VERSION 3.16)

foreach(required VARNEL_MANIFEST VARNEL_COMMON)
    if(NOT DEFINED ${required})
        message(FATAL_ERROR "VarnelUninstall.cmake needs -D${required}=...")
    endif()
endforeach()
if(NOT EXISTS "${VARNEL_MANIFEST}")
    message(FATAL_ERROR "${VARNEL_MANIFEST} does not exist: this build was not installed")
endif()
file(STRINGS "${VARNEL_MANIFEST}" files)

# The shared files, and whether the other flavour still uses them.
set(shared "")
set(kept_for "")
foreach(file IN LISTS files)
    get_filename_component(name "${file}" NAME)
    get_filename_component(folder "${file}" DIRECTORY)
    if(name MATCHES "^libvarnel-standin\\.so" OR file MATCHES "/varnel-standin/varnel-standin\\.h$")
        list(APPEND shared "${file}")
    endif()
    if(name MATCHES "^libvarnel-standin\\.so")
        file(GLOB companions "${folder}/libvarnel-common-qt*.so*")
        foreach(companion IN LISTS companions)
            get_filename_component(companion_name "${companion}" NAME)
            if(NOT companion_name MATCHES "^lib${VARNEL_COMMON}\\.so")
                set(kept_for "${companion}")
            endif()
        endforeach()
    endif()
endforeach()

foreach(file IN LISTS files)
    if(kept_for AND file IN_LIST shared)
        message(STATUS "Kept (used by ${kept_for}): ${file}")
    elseif(IS_SYMLINK "${file}" OR EXISTS "${file}")
        message(STATUS "Removing: ${file}")
        file(REMOVE "${file}")
    endif()
endforeach()
