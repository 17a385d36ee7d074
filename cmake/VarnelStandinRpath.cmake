# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# The stand-in's libraries carry the platform's own library names, so they are
# installed into a folder of their own rather than the system's library
# folder, where they would clash with or hide the real platform's. Whatever
# is installed and links them finds them there by a search path relative to
# itself.
set(VARNEL_STANDIN_INSTALL_LIBDIR "${CMAKE_INSTALL_LIBDIR}/varnel-standin" CACHE STRING
    "Where the platform stand-in's libraries are installed")

# varnel_standin_rpath(TARGET DESTINATION): adds the stand-in's folder to the
# search path TARGET has once installed into DESTINATION.
function(varnel_standin_rpath target destination)
    if(NOT VARNEL_USE_STANDIN)
        return()
    endif()
    if(IS_ABSOLUTE "${VARNEL_STANDIN_INSTALL_LIBDIR}" OR IS_ABSOLUTE "${destination}")
        get_filename_component(folder "${VARNEL_STANDIN_INSTALL_LIBDIR}" ABSOLUTE BASE_DIR "${CMAKE_INSTALL_PREFIX}")
    else()
        file(RELATIVE_PATH relative "/${destination}" "/${VARNEL_STANDIN_INSTALL_LIBDIR}")
        set(folder "\$ORIGIN/${relative}")
    endif()
    set_property(TARGET ${target} APPEND PROPERTY INSTALL_RPATH "${folder}")
endfunction()
