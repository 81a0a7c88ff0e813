# The Windows test list, included by tests/CMakeLists.txt in a Windows build: the tests of the
# core whose files and checks do not depend on POSIX, built like the Linux ones (same names) and
# run under Wine. Left out, as they test POSIX behaviour: the storage tests (links, modes, owners,
# flock, fork, fifos), cataloguefolder (symbolic links, the XDG folders), badinput (a fifo) and
# the cli set tests (modes, st_mtim, saves in child processes).
tav_add_test(core-tests
    SOURCES ${tav_portable_core_tests}
    LIBS tavdocument)

# The Windows half of the save cycle, on its own temporary folders.
tav_add_test(win32-storage-tests
    SOURCES win32/storage-test.cc
    LIBS tavstorage tavprofile)

tav_add_test(check-tests
    PREFIX check.
    SOURCES check-test.cc
    LIBS tavcheck)

tav_add_test(cli-tests
    PREFIX cli.
    SOURCES ${tav_portable_cli_tests}
    LIBS tavcli)
target_compile_definitions(cli-tests PRIVATE TAV_PROJECT_VERSION="${PROJECT_VERSION}")

# tacconf.exe end to end under Wine: each case_NAME function of tacconf-wine-test.sh is the test
# tacconf-wine.NAME, compared with the bytes in windows/expected/.
set(tav_wine_cases_script ${CMAKE_CURRENT_SOURCE_DIR}/windows/tacconf-wine-test.sh)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${tav_wine_cases_script})
file(STRINGS ${tav_wine_cases_script} tav_wine_cases REGEX "^case_[a-z0-9_]+\\(\\)")
foreach(line ${tav_wine_cases})
    string(REGEX REPLACE "^case_([a-z0-9_]+).*" "\\1" case ${line})
    add_test(NAME tacconf-wine.${case}
        COMMAND ${tav_wine_cases_script} ${case} ${PROJECT_SOURCE_DIR}/examples
                ${CMAKE_CURRENT_SOURCE_DIR}/windows/expected
                ${CMAKE_CURRENT_BINARY_DIR}/tacconf-wine/${case}
                -- ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:tacconf>)
    set_tests_properties(tacconf-wine.${case} PROPERTIES TIMEOUT 120
                         ENVIRONMENT TAV_VERSION=${PROJECT_VERSION})
endforeach()

# tacconf.exe started from a Windows program, where the shell cases above cannot reach: UTF-16
# command lines, standard output on a pipe, a lock another process holds, attributes, ACLs, the
# registry and the catalogue folders of Windows; Windows' path rules and the console; and the
# cross-check of the core's reading with Windows' own profile functions. tacconf.exe and the
# catalogues are in the same folder as the test program.
tav_add_test(tacconf-exe-tests
    PREFIX windows.
    SOURCES
        win32/tacconf-exe-test.cc
        win32/profileapi-test.cc
        win32/winpaths-test.cc
        win32/winprocess.cc
        ${PROJECT_SOURCE_DIR}/cli/win32/consolebuffer.cpp
        testutil.cc
    LIBS tavdocument)
add_dependencies(tacconf-exe-tests tacconf tavcatalogues)
target_include_directories(tacconf-exe-tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
