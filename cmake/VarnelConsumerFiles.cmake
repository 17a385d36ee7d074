# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# The pkg-config file and the qmake module file, for programs built without
# CMake. Both hand on the platform's headers; the system's platform libraries
# are linked as well, while of the stand-in's, which the library finds by its
# own search path, only the linker learns the folder (no run-time path).
include("${CMAKE_CURRENT_LIST_DIR}/VarnelInstallConfigured.cmake")

set(VARNEL_QT_MKSPECS_INSTALL_DIR "${CMAKE_INSTALL_LIBDIR}/${VARNEL_QT_LIBDIR_FOLDER}/mkspecs/modules" CACHE STRING
    "Where the qmake module file qt_${VARNEL_PACKAGE}.pri is installed")

if(VARNEL_USE_STANDIN)
    set(VARNEL_PC_PLATFORM_PRIVATE "Requires.private: ${VARNEL_STANDIN_PC}")
    set(VARNEL_PC_PLATFORM_LIBS " -Wl,-rpath-link,${VARNEL_PC_STANDIN_LIBDIR}")
    set(VARNEL_PC_PLATFORM_CFLAGS "")
    set(VARNEL_PRI_PLATFORM_LIBS "-Wl,-rpath-link,${VARNEL_PRI_STANDIN_LIBDIR}")
    set(VARNEL_PRI_PLATFORM_INCDIRS
        "${VARNEL_PRI_INCLUDEDIR}/varnel-standin @VARNEL_INCLUDEDIR_UNLESS_SYSTEM@ ${VARNEL_PRI_INCLUDEDIR}/${VARNEL_COMMON}")
else()
    # What cmake/VarnelSystemPlatform.cmake found, by name and folder; the
    # compiler's own folders go without saying.
    set(libs "")
    foreach(library IN LISTS VARNEL_SERVICES_LIBRARY_NAMES)
        get_filename_component(folder "${VARNEL_SERVICES_${library}}" DIRECTORY)
        if(NOT folder IN_LIST CMAKE_CXX_IMPLICIT_LINK_DIRECTORIES)
            list(APPEND libs "-L${folder}")
        endif()
        list(APPEND libs "-l${library}")
    endforeach()
    get_filename_component(folder "${VARNEL_COMMON_QT${VARNEL_QT_MAJOR}_LIBRARY}" DIRECTORY)
    if(NOT folder IN_LIST CMAKE_CXX_IMPLICIT_LINK_DIRECTORIES)
        list(APPEND libs "-L${folder}")
    endif()
    list(APPEND libs "-l${VARNEL_COMMON}")
    list(REMOVE_DUPLICATES libs)
    string(REPLACE ";" " " libs "${libs}")
    set(VARNEL_PC_PLATFORM_PRIVATE "")
    set(VARNEL_PC_PLATFORM_LIBS " ${libs}")
    set(VARNEL_PRI_PLATFORM_LIBS "${libs}")
    set(folder "${VARNEL_COMMON_QT${VARNEL_QT_MAJOR}_INCLUDE_DIR}")
    if(folder IN_LIST CMAKE_CXX_IMPLICIT_INCLUDE_DIRECTORIES)
        set(VARNEL_PC_PLATFORM_CFLAGS " -I${folder}/${VARNEL_COMMON}")
        set(VARNEL_PRI_PLATFORM_INCDIRS "${folder}/${VARNEL_COMMON}")
    else()
        set(VARNEL_PC_PLATFORM_CFLAGS " -I${folder} -I${folder}/${VARNEL_COMMON}")
        set(VARNEL_PRI_PLATFORM_INCDIRS "${folder} ${folder}/${VARNEL_COMMON}")
    endif()
endif()

varnel_install_configured("${CMAKE_CURRENT_LIST_DIR}/varnel-mac-qt.pc.in"
    "${CMAKE_INSTALL_LIBDIR}/pkgconfig" "${VARNEL_LIBRARY}.pc")
varnel_install_configured("${CMAKE_CURRENT_LIST_DIR}/qt_VarnelMacQt.pri.in"
    "${VARNEL_QT_MKSPECS_INSTALL_DIR}" "qt_${VARNEL_PACKAGE}.pri")
