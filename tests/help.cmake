# Tests of the help file, its viewer, the help service and the About box.
if(TARGET tavhelpviewer AND TARGET tavhelp)
    tav_add_gui_test(help-tests
        SOURCES
            ${CMAKE_CURRENT_SOURCE_DIR}/help-chmfile-test.cc
            ${CMAKE_CURRENT_SOURCE_DIR}/help-chmlibrary-test.cc
            ${CMAKE_CURRENT_SOURCE_DIR}/help-contentspage-test.cc
            ${CMAKE_CURRENT_SOURCE_DIR}/help-search-test.cc
            ${CMAKE_CURRENT_SOURCE_DIR}/help-sitemap-test.cc
            ${CMAKE_CURRENT_SOURCE_DIR}/help-viewer-test.cc
            ${CMAKE_CURRENT_SOURCE_DIR}/help-service-test.cc
            ${CMAKE_CURRENT_SOURCE_DIR}/help-about-test.cc
            ${CMAKE_CURRENT_SOURCE_DIR}/help-window-test.cc
        LIBS tavhelpviewer tavui)
    target_compile_definitions(help-tests PRIVATE
        TAV_HELP_FILE="${TAV_BIN_DIR}/taca.chm"
        TAV_HELP_SOURCES_DIR="${PROJECT_SOURCE_DIR}/resources/help")
    # The tests list the built file's objects with chmlib itself, independently of the reader.
    target_include_directories(help-tests PRIVATE ${CHM_INCLUDE})
    target_link_libraries(help-tests PRIVATE ${CHM_LIB})
    add_dependencies(help-tests tavhelp)
endif()

# The HTML help as installed: its links resolve, the contents reach every page (not in sanitizer
# builds, which check the code, not its installation).
if(TARGET tavhelp AND NOT TAV_SANITIZE)
    add_test(NAME help-html
        COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/help-html-test.sh ${CMAKE_BINARY_DIR}
                ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_BINARY_DIR}/help-html)
    set_tests_properties(help-html PROPERTIES TIMEOUT 120)
endif()
