# Packages: a .deb of the Linux program, a .zip of the Windows executable. Both take their
# version from project() in the top-level CMakeLists.txt.

set(CPACK_PACKAGE_NAME "shutdown-timer")
set(CPACK_PACKAGE_VENDOR "Brelvo")
set(CPACK_PACKAGE_CONTACT "Brelvo <shutdown-timer@brelvo.example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Powers the computer off at a time you set")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://brelvo.example.com/")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}/packages")
set(CPACK_STRIP_FILES ON)

if(WIN32)
    if(TARGET shutdown-timer)
        install(TARGETS shutdown-timer RUNTIME DESTINATION .)
    endif()
    set(CPACK_GENERATOR "ZIP")
    set(CPACK_SYSTEM_NAME "windows-x64")
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
    set(CPACK_GENERATOR "DEB")
    set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
    set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
    set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    # The xcb and wayland platform plugins are not a link-time dependency, so shlibdeps cannot
    # see them; without them the window cannot open on a desktop.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "systemd | elogind")
    # The summary above is the synopsis line; this is the long description below it.
    set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
        "A small window with a Chinese interface: choose a number of minutes from now\nor an hour and minute of today, confirm, and watch the seconds count down.\nWhen the count runs out the machine is powered off through systemd-logind,\nrunning applications closed without asking.")
endif()

include(CPack)
