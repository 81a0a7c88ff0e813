# Cross-builds the Qt-free core, its tests and tacconf.exe for 64-bit Windows with Debian's
# MinGW-w64 (g++ 12). Used by the `windows` preset (CMakePresets.json); the tests run under Wine
# (scripts/wine-run.sh, set below as the emulator ctest and test discovery start them through).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TAV_MINGW_TRIPLET x86_64-w64-mingw32)
# The -posix variant: its libstdc++ has std::thread and std::mutex (over winpthread); the -win32
# variant has neither.
set(CMAKE_C_COMPILER ${TAV_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAV_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TAV_MINGW_TRIPLET}-windres)

# Headers and libraries only from the MinGW-w64 tree; programs (ninja, the shell) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${TAV_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows 10 and later; the Unicode (W) forms of the API by default; a lean <windows.h> without
# the min/max macros that break std::min and std::numeric_limits<>::max.
add_compile_definitions(_WIN32_WINNT=0x0A00 WINVER=0x0A00 UNICODE _UNICODE WIN32_LEAN_AND_MEAN
                        NOMINMAX)

# The C and C++ runtimes and winpthread linked in, so that every .exe runs alone (on Windows and
# under Wine) with no MinGW DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest, and gtest_discover_tests at build time, start the Windows programs through Wine, in a
# Wine prefix of the build folder's own.
get_filename_component(tav_wine_run ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${tav_wine_run} ${CMAKE_BINARY_DIR}/wineprefix)
