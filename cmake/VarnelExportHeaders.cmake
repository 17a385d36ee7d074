# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# Export headers under names without the Qt major, the same in both flavours,
# and under their first names, which carry a 5 in either flavour and stay for
# hosts that use them.
include(GenerateExportHeader)

# varnel_export_headers(TARGET BASE OLD_BASE FOLDER OUTPUT_VAR [CONTENT_VAR]):
# writes FOLDER/<base>_export.h with the macros BASE_EXPORT and so on (and the
# text of CONTENT_VAR, if given), and FOLDER/<old_base>_export.h, which
# includes it and names the same macros OLD_BASE_EXPORT and so on; sets
# OUTPUT_VAR to both files.
function(varnel_export_headers target base old_base folder output)
    string(TOLOWER "${base}_export.h" header)
    string(TOLOWER "${old_base}_export.h" old_header)
    set(content "")
    if(ARGC GREATER 5)
        set(content CUSTOM_CONTENT_FROM_VARIABLE ${ARGV5})
    endif()
    generate_export_header(${target}
        BASE_NAME ${base}
        EXPORT_FILE_NAME "${folder}/${header}"
        ${content})
    set(VARNEL_NEW_BASE ${base})
    set(VARNEL_OLD_BASE ${old_base})
    set(VARNEL_NEW_HEADER ${header})
    configure_file("${PROJECT_SOURCE_DIR}/cmake/varnel_export_compat.h.in" "${folder}/${old_header}" @ONLY)
    set(${output} "${folder}/${header}" "${folder}/${old_header}" PARENT_SCOPE)
endfunction()
