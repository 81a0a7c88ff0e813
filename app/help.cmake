# Help and About: the program's help viewer over chmlib, the help service and the About box.
# Included by app/CMakeLists.txt once the GUI library `tavgui` exists.
find_path(CHM_INCLUDE chm_lib.h REQUIRED)
find_library(CHM_LIB chm REQUIRED)

target_sources(tavgui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/aboutdialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/aboutdialog.h
    ${CMAKE_CURRENT_LIST_DIR}/chmbytes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/chmbytes.h
    ${CMAKE_CURRENT_LIST_DIR}/chmcheck.cpp
    ${CMAKE_CURRENT_LIST_DIR}/chmcheck.h
    ${CMAKE_CURRENT_LIST_DIR}/chmdirectory.cpp
    ${CMAKE_CURRENT_LIST_DIR}/chmdirectory.h
    ${CMAKE_CURRENT_LIST_DIR}/chmfile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/chmfile.h
    ${CMAKE_CURRENT_LIST_DIR}/chmhelpservice.cpp
    ${CMAKE_CURRENT_LIST_DIR}/chmhelpservice.h
    ${CMAKE_CURRENT_LIST_DIR}/helpservice.h
    ${CMAKE_CURRENT_LIST_DIR}/helpviewer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/helpviewer.h
)
target_include_directories(tavgui PRIVATE ${CHM_INCLUDE})
target_link_libraries(tavgui PUBLIC ${CHM_LIB} tavcore tavresources Qt6::Widgets)
