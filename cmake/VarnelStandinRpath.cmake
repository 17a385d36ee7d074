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

# varnel_install_rpath(TARGET DESTINATION): the search path TARGET needs once
# installed into DESTINATION: the library's folder, unless the system searches
# it anyway (as in a distribution's package), then the stand-in's.
function(varnel_install_rpath target destination)
    get_filename_component(libdir "${CMAKE_INSTALL_LIBDIR}" ABSOLUTE BASE_DIR "${CMAKE_INSTALL_PREFIX}")
    if(NOT libdir IN_LIST CMAKE_PLATFORM_IMPLICIT_LINK_DIRECTORIES
            AND NOT libdir IN_LIST CMAKE_CXX_IMPLICIT_LINK_DIRECTORIES
            AND NOT IS_ABSOLUTE "${destination}" AND NOT IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
        file(RELATIVE_PATH relative "/${destination}" "/${CMAKE_INSTALL_LIBDIR}")
        set_property(TARGET ${target} APPEND PROPERTY INSTALL_RPATH "\$ORIGIN/${relative}")
    endif()
    varnel_standin_rpath(${target} "${destination}")
endfunction()
