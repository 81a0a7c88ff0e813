# The Windows test list, included by tests/CMakeLists.txt in a Windows build: the tests of the
# core whose files and checks do not depend on POSIX, built like the Linux ones (same names) and
# run under Wine. Left out, as they test POSIX behaviour: the storage tests (links, modes, owners,
# flock, fork, fifos), cataloguefolder (symbolic links, the XDG folders), badinput (a fifo) and
# the cli set tests (modes, st_mtim, saves in child processes).
tav_add_test(core-tests
    SOURCES
        catalogtext-test.cc
        catalogs-test.cc
        documenttable-test.cc
        rememberedfolder-test.cc
        profilelines-test.cc
        profiletext-test.cc
        splicedbytes-test.cc
        profilelookup-test.cc
        valuelookup-test.cc
        documentio-test.cc
        documentmerge-test.cc
        documentstorage-test.cc
        textencoding-test.cc
        configdocument-test.cc
        filepath-test.cc
        translation-test.cc
        testutil.cc
    LIBS tavdocument)

tav_add_test(check-tests
    PREFIX check.
    SOURCES check-test.cc
    LIBS tavcheck)

tav_add_test(cli-tests
    PREFIX cli.
    SOURCES
        cli-arguments-test.cc
        cli-check-test.cc
        cli-compare-test.cc
        cli-checkdocument-test.cc
        cli-diff-test.cc
        cli-dump-test.cc
        cli-encoding-test.cc
        cli-get-test.cc
        cli-json-test.cc
        cli-jsontext-test.cc
        cli-linediff-test.cc
        cli-profilelisting-test.cc
        cli-testutil.cc
        testutil.cc
    LIBS tavcli)
target_compile_definitions(cli-tests PRIVATE TAV_PROJECT_VERSION="${PROJECT_VERSION}")

# tacconf.exe started as a Windows shell starts it (UTF-16 command lines, pipes, Windows paths,
# locks, attributes, ACLs, the catalogue folders of Windows), Windows' path rules and the console,
# and the cross-check of the core's
# reading with Windows' own profile functions. tacconf.exe and the catalogues are in the same
# folder as the test program.
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
