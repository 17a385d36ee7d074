# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

# A libFuzzer target for the stand-in's readers of policy files and of the
# label attribute, built from the stand-in's sources under AddressSanitizer
# and UndefinedBehaviorSanitizer. Needs Clang as the C compiler; .ci/run
# builds and runs it.
option(VARNEL_FUZZ "Build the stand-in's fuzz target (needs CC=clang)" OFF)
if(VARNEL_FUZZ)
    if(NOT CMAKE_C_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "VARNEL_FUZZ needs Clang as the C compiler (CC=clang)")
    endif()
    find_package(Threads REQUIRED)
    set(VARNEL_FUZZ_FLAGS
        -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_executable(fuzz_standin_parsers
        fuzz/fuzz_standin_parsers.c
        "${PROJECT_SOURCE_DIR}/platform/services/databases.c"
        "${PROJECT_SOURCE_DIR}/platform/services/labels.c"
        "${PROJECT_SOURCE_DIR}/platform/services/lastchoice.c"
        "${PROJECT_SOURCE_DIR}/platform/services/policy.c"
        "${PROJECT_SOURCE_DIR}/platform/services/trace.c")
    # Plain C, linked by Clang: nothing for Qt's code generators here.
    set_target_properties(fuzz_standin_parsers PROPERTIES AUTOMOC OFF LINKER_LANGUAGE C)
    target_include_directories(fuzz_standin_parsers PRIVATE
        "${PROJECT_SOURCE_DIR}/platform/services"
        "${PROJECT_SOURCE_DIR}/src/frame"
        "${PROJECT_SOURCE_DIR}/include")
    target_compile_options(fuzz_standin_parsers PRIVATE ${VARNEL_FUZZ_FLAGS})
    target_link_options(fuzz_standin_parsers PRIVATE ${VARNEL_FUZZ_FLAGS})
    target_link_libraries(fuzz_standin_parsers PRIVATE Threads::Threads)
endif()
