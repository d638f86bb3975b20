# Tests of the Linux program: the real Qt window driven with key and mouse events on the
# offscreen platform, and the logind power service against a mock logind on a private bus.
find_package(Qt6 REQUIRED COMPONENTS Test DBus)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

# The window with fake power, keep-awake and clock services: nothing here reaches logind.
add_executable(qt_window_tests ${CMAKE_CURRENT_SOURCE_DIR}/ui/main_window_qt_test.cpp)
# moc only for the test's URL handler slot; the program itself does without it.
set_target_properties(qt_window_tests PROPERTIES AUTOMOC ON)
target_link_libraries(qt_window_tests PRIVATE
    shutdown_timer_qt_window shutdown_timer_core Qt6::Widgets Qt6::Test GTest::gtest)
gtest_discover_tests(qt_window_tests DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
