# Tests of the main window, its editor panel, file commands and toolbar, and the application.
tav_add_gui_test(ui-tests
    SOURCES
        ${CMAKE_CURRENT_SOURCE_DIR}/ui-fakes.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/ui-maindialog-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/ui-editorpanel-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/ui-filecommands-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/ui-configapp-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/app-installedfiles-test.cc
    LIBS tavui tavapp)
