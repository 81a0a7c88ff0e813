tav_add_gui_test(tree-tests
    SOURCES
        ${CMAKE_CURRENT_SOURCE_DIR}/configtree-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/configtreedrag-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/configtreecomforts-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/configtreeedits-test.cc
        ${CMAKE_CURRENT_SOURCE_DIR}/configtreemodel-test.cc
    LIBS tavtree)
