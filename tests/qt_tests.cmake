# Tests of the Linux program: the real Qt window driven with key and mouse events on the
# offscreen platform, and the logind power service against a mock logind on a private bus.
find_package(Qt6 REQUIRED COMPONENTS Test DBus)
# The distribution's Python, which has python3-dbusmock, before any other on the PATH.
find_program(SYSTEM_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(SYSTEM_PYTHON3 python3 REQUIRED)

# The window with fake power, keep-awake and clock services: nothing here reaches logind.
add_executable(qt_window_tests ${CMAKE_CURRENT_SOURCE_DIR}/ui/main_window_qt_test.cpp)
# moc only for the test's URL handler slot; the program itself does without it.
set_target_properties(qt_window_tests PROPERTIES AUTOMOC ON)
target_link_libraries(qt_window_tests PRIVATE
    shutdown_timer_qt_window shutdown_timer_core Qt6::Widgets Qt6::Test GTest::gtest)
gtest_discover_tests(qt_window_tests DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# The real window and the real logind services, on command from the driver script below.
add_executable(logind_probe ${CMAKE_CURRENT_SOURCE_DIR}/system/logind_probe_qt.cpp)
target_link_libraries(logind_probe PRIVATE
    shutdown_timer_qt_window shutdown_timer_logind shutdown_timer_core Qt6::Widgets)
target_sources(logind_probe PRIVATE ${PROJECT_SOURCE_DIR}/src/system/local_clock_posix.cpp)

# Starts its own system bus with a mock logind (python3-dbusmock) and never uses the real one.
add_test(NAME logind.power_off_and_keep_awake
    COMMAND ${SYSTEM_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/system/logind_test.py
        --probe $<TARGET_FILE:logind_probe> --program $<TARGET_FILE:shutdown-timer>)
set_tests_properties(logind.power_off_and_keep_awake PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 180)
