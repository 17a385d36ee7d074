# Files that name installed paths (pkg-config, qmake) are filled in twice: with
# the build's values at configure time, and with the prefix at install time,
# because `cmake --install --prefix` and DESTDIR choose it only then. In a
# template, @VARNEL_PREFIX@ stands for that prefix.

# varnel_installed_dir(VAR DIR): DIR as an installed absolute path, in the
# template's terms.
function(varnel_installed_dir var dir)
    if(IS_ABSOLUTE "${dir}")
        set(${var} "${dir}" PARENT_SCOPE)
    else()
        set(${var} "@VARNEL_PREFIX@/${dir}" PARENT_SCOPE)
    endif()
endfunction()

# varnel_install_configured(TEMPLATE DESTINATION): installs TEMPLATE, minus
# its .in, into DESTINATION.
function(varnel_install_configured template destination)
    get_filename_component(name "${template}" NAME)
    string(REGEX REPLACE "\\.in$" "" name "${name}")
    set(stage "${PROJECT_BINARY_DIR}/installed-files/${name}.in")
    set(result "${PROJECT_BINARY_DIR}/installed-files/${name}")
    # Keeps the placeholder through the first pass.
    set(VARNEL_PREFIX "@VARNEL_PREFIX@")
    configure_file("${template}" "${stage}" @ONLY)
    install(CODE "set(VARNEL_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
configure_file(\"${stage}\" \"${result}\" @ONLY)")
    install(FILES "${result}" DESTINATION "${destination}")
endfunction()

# The installed folders: VARNEL_PC_* relative to ${prefix} for pkg-config,
# VARNEL_PRI_* absolute for qmake.
foreach(kind LIBDIR INCLUDEDIR BINDIR)
    if(IS_ABSOLUTE "${CMAKE_INSTALL_${kind}}")
        set(VARNEL_PC_${kind} "${CMAKE_INSTALL_${kind}}")
    else()
        set(VARNEL_PC_${kind} "\${prefix}/${CMAKE_INSTALL_${kind}}")
    endif()
    varnel_installed_dir(VARNEL_PRI_${kind} "${CMAKE_INSTALL_${kind}}")
endforeach()
