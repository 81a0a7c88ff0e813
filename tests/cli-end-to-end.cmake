# Runs the real tacconf on a copy of an example document and checks its exit codes and that a set
# reaches the file. Called by ctest as: cmake -DTACCONF=... -DEXAMPLES=... -DWORK=... -P this file.

function(expect_exit expected)
    execute_process(COMMAND ${TACCONF} ${ARGN}
        RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT result EQUAL expected)
        string(REPLACE ";" " " command "${ARGN}")
        message(FATAL_ERROR
            "tacconf ${command}: exit ${result}, expected ${expected}\n${out}${err}")
    endif()
    set(last_output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY ${EXAMPLES}/front-office.tac DESTINATION ${WORK})
set(doc ${WORK}/front-office.tac)

# The catalogues come from the program's own folder.
expect_exit(0 get ${doc} General.Beep)
if(NOT last_output STREQUAL "True\n")
    message(FATAL_ERROR "get printed \"${last_output}\"")
endif()
expect_exit(0 set ${doc} General.Beep False)
expect_exit(0 get ${doc} General.Beep)
if(NOT last_output STREQUAL "False\n")
    message(FATAL_ERROR "set did not reach the file: get printed \"${last_output}\"")
endif()
expect_exit(2 set ${doc} General.Beep maybe)
expect_exit(0 dump ${doc} --json)
expect_exit(0 check)
expect_exit(1 check ${doc})
expect_exit(1 diff ${doc})
expect_exit(2 diff ${WORK}/missing.tac)
expect_exit(2 get ${doc} General.Beep --catalogues ${WORK})
expect_exit(2 frobnicate)
expect_exit(0 --help)
