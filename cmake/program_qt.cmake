# The Linux program: a Qt 6 Widgets window over the core, powering off through systemd-logind.
# Widgets are built in code from the layout table; nothing here needs moc or uic.
find_package(Qt6 REQUIRED COMPONENTS Widgets DBus)
include(GNUInstallDirs)

# Object libraries, so that the core's calls into these seams resolve whatever the link order;
# the window tests reuse the window without the power service.
add_library(shutdown_timer_qt_window OBJECT
    src/ui/main_window_qt.cpp
    src/ui/window_ops_qt.cpp
)
target_link_libraries(shutdown_timer_qt_window PUBLIC shutdown_timer_core Qt6::Widgets)
# The window icon travels inside the binary, so an uninstalled build shows it too. Only the
# 48 px one: decoding a 256 px PNG took a twentieth of the start-up work, and desktops take the large
# icon from the installed theme (hicolor/256x256) through the desktop entry.
qt_add_resources(shutdown_timer_qt_window shutdown_timer_icons
    PREFIX /icons
    BASE res
    FILES res/shutdown-timer-48.png
)

add_library(shutdown_timer_logind OBJECT
    src/system/keep_awake_logind.cpp
    src/system/power_logind.cpp
)
target_link_libraries(shutdown_timer_logind PUBLIC shutdown_timer_core Qt6::DBus)

add_executable(shutdown-timer
    src/app/program_entry_qt.cpp
    src/system/local_clock_posix.cpp
)
target_link_libraries(shutdown-timer PRIVATE
    shutdown_timer_qt_window shutdown_timer_logind shutdown_timer_core Qt6::Widgets)

install(TARGETS shutdown-timer RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES res/shutdown-timer.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 48 256)
    install(FILES res/shutdown-timer-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME shutdown-timer.png)
endforeach()
