# Tests of the main window, its editor panel, file and edit commands and toolbar, and the
# application with its command line.
tav_add_gui_test(ui-tests
    SOURCES
        ${CMAKE_CURRENT_SOURCE_DIR}/ui-fakes.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/ui-maindialog-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/ui-editorpanel-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/ui-filecommands-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/ui-diskchanges-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/ui-lockwaitnotice-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/ui-messagereporter-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/ui-filterfield-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/ui-keyboard-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/ui-filewatcher-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/ui-edithistory-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/ui-recentfilelist-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/ui-startup-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/ui-commandline-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/ui-configapp-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/ui-cataloguechoice-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/app-installedfiles-test.cc
    LIBS tavui tavapp)
# The command line's --version is checked against the project's version.
target_compile_definitions(ui-tests PRIVATE TAV_PROJECT_VERSION="${PROJECT_VERSION}")

# The real window read through the accessibility bus, under a virtual X server: every showing
# control named, the main window a normal window. Skipped when a package it needs is missing; not
# in sanitizer builds, which check the code, not what a screen reader hears.
if(TARGET tavmanager AND NOT TAV_SANITIZE)
    add_test(NAME ui-accessibility
        COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/accessibility-test.sh $<TARGET_FILE:tavmanager>
                ${PROJECT_SOURCE_DIR}/examples ${CMAKE_CURRENT_BINARY_DIR}/accessibility)
    set_tests_properties(ui-accessibility PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
endif()
