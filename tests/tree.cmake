tav_add_gui_test(tree-tests
    SOURCES
        ${CMAKE_CURRENT_SOURCE_DIR}/configtree-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/configtreedrag-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/configtreefilter-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/configtreemarks-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/configtreemenu-test.cc
    LIBS tavtree)
