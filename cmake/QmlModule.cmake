# vorlie_qml_module(target URI uri [LIBS ...] [IMPORTS ...] [SOURCES ...]
#                   [RESOURCES ...] [QML_FILES ...])
# One QML module of the screens: a static library whose C++ and QML types
# QML imports as `uri`, built into qml/<uri path> of the build tree.
function(vorlie_qml_module target)
    cmake_parse_arguments(ARG "" "URI" "LIBS;IMPORTS;SOURCES;RESOURCES;QML_FILES" ${ARGN})
    add_library(${target} STATIC)
    target_link_libraries(${target} PUBLIC ${ARG_LIBS} Qt6::Quick)
    target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    vorlie_warnings(${target})
    string(REPLACE "." "/" uriPath "${ARG_URI}")
    set(parts)
    foreach(part IMPORTS SOURCES RESOURCES QML_FILES)
        if(ARG_${part})
            list(APPEND parts ${part} ${ARG_${part}})
        endif()
    endforeach()
    qt_add_qml_module(${target}
        URI ${ARG_URI}
        VERSION 1.0
        DEPENDENCIES QtQuick
        OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/qml/${uriPath}
        ${parts})
endfunction()
