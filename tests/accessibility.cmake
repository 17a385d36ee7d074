# SPDX-FileCopyrightText: 2026 The libvarnel-mac-qt5 developers
#
# SPDX-License-Identifier: BSD-3-Clause

varnel_add_test(tst_accessibility tst_accessibility.cpp)

# What a screen reader reads over AT-SPI, from a host process with Qt's Linux
# accessibility switched on, on a private session bus and X display. The
# packages come with scripts/packages.sh; without them the test fails and
# says which is missing, rather than being skipped.
find_package(${VARNEL_QT} ${VARNEL_QT_MIN_VERSION} REQUIRED COMPONENTS DBus)
add_executable(atspi_host atspi/AtspiHost.cpp)
target_link_libraries(atspi_host PRIVATE ${VARNEL_LIBRARY})
add_executable(tst_atspi tst_atspi.cpp ${PROJECT_SOURCE_DIR}/tests/StandinPolicy.h)
target_include_directories(tst_atspi PRIVATE "${PROJECT_SOURCE_DIR}/tests")
target_link_libraries(tst_atspi PRIVATE ${VARNEL_LIBRARY} ${VARNEL_QT}::Test ${VARNEL_QT}::DBus)
target_compile_definitions(tst_atspi PRIVATE VARNEL_ATSPI_HOST="$<TARGET_FILE:atspi_host>")
add_dependencies(tst_atspi atspi_host)
add_test(NAME tst_atspi COMMAND "${CMAKE_CURRENT_SOURCE_DIR}/atspi/run-isolated.sh" "$<TARGET_FILE:tst_atspi>")
set_tests_properties(tst_atspi PROPERTIES
    TIMEOUT 120
    ENVIRONMENT "XDG_STATE_HOME=${CMAKE_CURRENT_BINARY_DIR}/state-tst_atspi;LC_ALL=C.UTF-8")

# What the library tells an assistive tool that is listening, and how the
# keyboard alone works the widgets, on a private X display with Qt's Linux
# accessibility switched on: offscreen, Qt sends assistive tools no events.
add_executable(tst_accessibleuse tst_accessibleuse.cpp ${PROJECT_SOURCE_DIR}/tests/StandinPolicy.h)
target_include_directories(tst_accessibleuse PRIVATE "${PROJECT_SOURCE_DIR}/tests")
target_link_libraries(tst_accessibleuse PRIVATE ${VARNEL_LIBRARY} ${VARNEL_QT}::Test ${VARNEL_QT}::DBus)
add_test(NAME tst_accessibleuse
         COMMAND "${CMAKE_CURRENT_SOURCE_DIR}/atspi/run-isolated.sh" "$<TARGET_FILE:tst_accessibleuse>")
set_tests_properties(tst_accessibleuse PROPERTIES
    TIMEOUT 120
    ENVIRONMENT "QT_QPA_PLATFORM=xcb;QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1;XDG_STATE_HOME=${CMAKE_CURRENT_BINARY_DIR}/state-tst_accessibleuse;LC_ALL=C.UTF-8")
