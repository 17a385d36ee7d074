# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# Files that name installed paths (pkg-config, qmake) are filled in twice: with
# the build's values at configure time, and with the prefix at install time,
# because `cmake --install --prefix` and DESTDIR choose it only then. In a
# template, @VARNEL_PREFIX@ stands for that prefix, and
# @VARNEL_INCLUDEDIR_UNLESS_SYSTEM@ for the installed include folder, or
# nothing where that is one the compiler searches anyway (naming such a
# folder breaks the C++ library's own headers).

# varnel_installed_dir(VAR DIR): DIR as an installed absolute path, in the
# template's terms.
function(varnel_installed_dir var dir)
    if(IS_ABSOLUTE "${dir}")
        set(${var} "${dir}" PARENT_SCOPE)
    else()
        set(${var} "@VARNEL_PREFIX@/${dir}" PARENT_SCOPE)
    endif()
endfunction()

# varnel_install_configured(TEMPLATE DESTINATION NAME): installs TEMPLATE
# into DESTINATION as NAME.
function(varnel_install_configured template destination name)
    set(stage "${PROJECT_BINARY_DIR}/installed-files/${name}.in")
    set(result "${PROJECT_BINARY_DIR}/installed-files/${name}")
    # Keeps the placeholders through the first pass.
    set(VARNEL_PREFIX "@VARNEL_PREFIX@")
    set(VARNEL_INCLUDEDIR_UNLESS_SYSTEM "@VARNEL_INCLUDEDIR_UNLESS_SYSTEM@")
    configure_file("${template}" "${stage}" @ONLY)
    set(system_folders /usr/include ${CMAKE_C_IMPLICIT_INCLUDE_DIRECTORIES} ${CMAKE_CXX_IMPLICIT_INCLUDE_DIRECTORIES})
    install(CODE "set(VARNEL_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
set(VARNEL_SYSTEM_INCLUDE_FOLDERS \"${system_folders}\")
get_filename_component(VARNEL_INCLUDEDIR_UNLESS_SYSTEM \"${CMAKE_INSTALL_INCLUDEDIR}\" ABSOLUTE
    BASE_DIR \"\${CMAKE_INSTALL_PREFIX}\")
list(FIND VARNEL_SYSTEM_INCLUDE_FOLDERS \"\${VARNEL_INCLUDEDIR_UNLESS_SYSTEM}\" system_folder)
if(NOT system_folder EQUAL -1)
    set(VARNEL_INCLUDEDIR_UNLESS_SYSTEM \"\")
endif()
configure_file(\"${stage}\" \"${result}\" @ONLY)")
    install(FILES "${result}" DESTINATION "${destination}")
endfunction()

# The installed folders: VARNEL_PC_* relative to ${prefix} for pkg-config,
# VARNEL_PRI_* absolute for qmake.
set(VARNEL_INSTALL_LIBDIR "${CMAKE_INSTALL_LIBDIR}")
set(VARNEL_INSTALL_INCLUDEDIR "${CMAKE_INSTALL_INCLUDEDIR}")
set(VARNEL_INSTALL_BINDIR "${CMAKE_INSTALL_BINDIR}")
set(VARNEL_INSTALL_STANDIN_LIBDIR "${VARNEL_STANDIN_INSTALL_LIBDIR}")
foreach(kind LIBDIR INCLUDEDIR BINDIR STANDIN_LIBDIR)
    if(IS_ABSOLUTE "${VARNEL_INSTALL_${kind}}")
        set(VARNEL_PC_${kind} "${VARNEL_INSTALL_${kind}}")
    else()
        set(VARNEL_PC_${kind} "\${prefix}/${VARNEL_INSTALL_${kind}}")
    endif()
    varnel_installed_dir(VARNEL_PRI_${kind} "${VARNEL_INSTALL_${kind}}")
endforeach()
