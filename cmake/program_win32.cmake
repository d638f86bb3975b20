# shutdown-timer.exe: the raw Win32 program, cross-compiled with mingw-w64. Linked statically so
# that it imports only system DLLs, and kept small (MinSizeRel, no iostream, unused sections
# dropped).
enable_language(RC)

configure_file(res/version.h.in ${CMAKE_CURRENT_BINARY_DIR}/res/version.h @ONLY)

# Without exceptions, and with std::string's members compiled in place rather than taken from
# libstdc++'s instantiations (which would bring its exception machinery along).
set(shutdown_timer_size_flags
    -ffunction-sections -fdata-sections -fno-exceptions -fno-rtti -D_GLIBCXX_ASSERTIONS)
set(shutdown_timer_link_flags
    -static -static-libgcc -static-libstdc++ -municode -mwindows -Wl,--gc-sections -s)

# The platform layer is compiled straight into the executable, so that the core's calls into the
# seams resolve whatever the link order.
add_executable(shutdown-timer WIN32
    src/app/no_exceptions_win32.cpp
    src/app/program_entry_win32.cpp
    src/system/keep_awake_win32.cpp
    src/system/local_clock_win32.cpp
    src/system/power_win32.cpp
    src/ui/main_window_win32.cpp
    src/ui/wide_text_win32.cpp
    src/ui/window_ops_win32.cpp
    res/shutdown-timer.rc
)
target_include_directories(shutdown-timer PRIVATE res ${CMAKE_CURRENT_BINARY_DIR}/res)
target_compile_definitions(shutdown-timer PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
    _WIN32_WINNT=0x0601)
target_compile_options(shutdown-timer PRIVATE ${shutdown_timer_size_flags})
target_compile_options(shutdown_timer_core PRIVATE ${shutdown_timer_size_flags})
target_link_options(shutdown-timer PRIVATE ${shutdown_timer_link_flags})
target_link_libraries(shutdown-timer PRIVATE shutdown_timer_core comctl32 shell32 advapi32)
# windres reports no dependencies of its own.
set_source_files_properties(res/shutdown-timer.rc PROPERTIES OBJECT_DEPENDS
    "${CMAKE_CURRENT_SOURCE_DIR}/res/shutdown-timer.manifest;${CMAKE_CURRENT_SOURCE_DIR}/res/shutdown-timer.ico;${CMAKE_CURRENT_BINARY_DIR}/res/version.h")

if(SHUTDOWN_TIMER_TESTS)
    enable_testing()
    add_subdirectory(tests/e2e_win32)
endif()
