# The tests of tacconf: its subcommands run in-process on the example catalogues and copies of the
# example documents, and one end-to-end run of the real program checks its exit codes.
tav_add_test(cli-tests
    PREFIX cli.
    SOURCES
        ${tav_portable_cli_tests}
        cli-set-test.cc
        cli-setscript-test.cc
        savetestutil.cc
    LIBS tavcli)
target_compile_definitions(cli-tests PRIVATE TAV_PROJECT_VERSION="${PROJECT_VERSION}")

add_test(NAME cli-end-to-end
    COMMAND ${CMAKE_COMMAND}
        -DTACCONF=$<TARGET_FILE:tacconf>
        -DEXAMPLES=${PROJECT_SOURCE_DIR}/examples
        -DWORK=${CMAKE_CURRENT_BINARY_DIR}/cli-end-to-end
        -P ${CMAKE_CURRENT_SOURCE_DIR}/cli-end-to-end.cmake)
