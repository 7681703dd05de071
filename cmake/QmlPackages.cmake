# The Debian packages of the QML modules the program loads at run time, which
# the library scan behind the package's dependencies cannot see.
#
# Included by the project, it offers vorlie_qml_package_depends(). Run as a
# script (cmake -DSOURCE_DIR= -DBINARY_DIR= -DQT_QML_DIR= -DSCANNER= -DOUTPUT=
# -P QmlPackages.cmake), it asks Qt's import scanner which modules the shipped
# QML imports, directly or through other modules, and writes their packages
# to OUTPUT as one Depends list. An import no installed package provides
# stops the build rather than leaving the package without it.

if(CMAKE_SCRIPT_MODE_FILE)
    cmake_minimum_required(VERSION 3.25)
endif()

# Every .qml of the source tree except tests, benchmarks and build trees, so
# a view in a new folder is covered without being listed anywhere.
function(vorlie_shipped_qml_files out source_dir binary_dir)
    # A new view reconfigures the build, so that it is scanned too.
    set(recheck)
    if(NOT CMAKE_SCRIPT_MODE_FILE)
        set(recheck CONFIGURE_DEPENDS)
    endif()
    file(GLOB children RELATIVE ${source_dir} ${source_dir}/*)
    set(files)
    foreach(child IN LISTS children)
        if(NOT IS_DIRECTORY ${source_dir}/${child} OR child MATCHES "^(\\.|build|tests$|bench$)"
           OR EXISTS ${source_dir}/${child}/CMakeCache.txt)
            continue()
        endif()
        file(GLOB_RECURSE found ${recheck} ${source_dir}/${child}/*.qml)
        foreach(file IN LISTS found)
            cmake_path(IS_PREFIX binary_dir ${file} in_build_tree)
            if(NOT in_build_tree)
                list(APPEND files ${file})
            endif()
        endforeach()
    endforeach()
    set(${out} ${files} PARENT_SCOPE)
endfunction()

# Adds TARGET, which writes the packages whenever a view changes (and stops
# the build on an import without one), and has cpack add them to the Debian
# package's dependencies.
function(vorlie_qml_package_depends target)
    vorlie_shipped_qml_files(shipped_qml ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR})
    set(packages ${PROJECT_BINARY_DIR}/packaging/qml-packages)
    add_custom_command(OUTPUT ${packages}
        COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DBINARY_DIR=${PROJECT_BINARY_DIR}
            -DQT_QML_DIR=${QT6_INSTALL_PREFIX}/${QT6_INSTALL_QML} -DSCANNER=$<TARGET_FILE:Qt6::qmlimportscanner>
            -DOUTPUT=${packages} -P ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
        DEPENDS ${shipped_qml} ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
        COMMENT "Finding the Debian packages of the QML modules the views import"
        VERBATIM)
    add_custom_target(${target} ALL DEPENDS ${packages})
    set(config ${PROJECT_BINARY_DIR}/packaging/CPackProjectConfig.cmake)
    file(CONFIGURE OUTPUT ${config} @ONLY CONTENT [[
if(CPACK_GENERATOR STREQUAL "DEB")
    if(NOT EXISTS "@packages@")
        message(FATAL_ERROR "Build the target @target@ before packaging")
    endif()
    file(STRINGS "@packages@" packages LIMIT_COUNT 1)
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", ${packages}")
endif()
]])
    set(CPACK_PROJECT_CONFIG_FILE ${config} PARENT_SCOPE)
endfunction()

# The folders that hold the project's own modules (module Vorlie.X in
# DIR/Vorlie/X/qmldir gives DIR), so the scanner resolves them and follows
# their imports too.
function(vorlie_own_import_paths out binary_dir)
    file(GLOB_RECURSE qmldirs ${binary_dir}/*/qmldir)
    set(roots)
    foreach(qmldir IN LISTS qmldirs)
        file(STRINGS ${qmldir} module REGEX "^module " LIMIT_COUNT 1)
        string(REGEX REPLACE "^module +" "" module "${module}")
        string(REPLACE "." "/" module_path "${module}")
        get_filename_component(dir ${qmldir} DIRECTORY)
        if(module AND dir MATCHES "^(.*)/${module_path}$")
            list(APPEND roots ${CMAKE_MATCH_1})
        endif()
    endforeach()
    list(REMOVE_DUPLICATES roots)
    set(${out} ${roots} PARENT_SCOPE)
endfunction()

function(vorlie_write_qml_packages)
    vorlie_shipped_qml_files(files ${SOURCE_DIR} ${BINARY_DIR})
    vorlie_own_import_paths(roots ${BINARY_DIR})
    set(import_paths -importPath ${QT_QML_DIR})
    foreach(root IN LISTS roots)
        list(APPEND import_paths -importPath ${root})
    endforeach()
    # Its complaints about missing modules are reported below, by name.
    execute_process(COMMAND ${SCANNER} -qmlFiles ${files} ${import_paths}
        OUTPUT_VARIABLE imports ERROR_VARIABLE complaints RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "qmlimportscanner failed: ${complaints}")
    endif()

    set(qmldirs)
    set(missing)
    string(JSON count LENGTH "${imports}")
    math(EXPR last "${count} - 1")
    foreach(i RANGE ${last})
        string(JSON type GET "${imports}" ${i} type)
        string(JSON name GET "${imports}" ${i} name)
        string(JSON path ERROR_VARIABLE no_path GET "${imports}" ${i} path)
        set(own FALSE)
        if(NOT no_path)
            cmake_path(IS_PREFIX BINARY_DIR ${path} own)
        endif()
        if(NOT type STREQUAL "module" OR own)
            continue()
        elseif(NOT no_path AND EXISTS ${path}/qmldir)
            list(APPEND qmldirs ${path}/qmldir)
        else()
            list(APPEND missing ${name})
        endif()
    endforeach()
    if(missing)
        list(JOIN missing ", " missing)
        message(FATAL_ERROR "No module under ${QT_QML_DIR} for these QML imports: ${missing}. "
            "Install their qml6-module-* packages (and add them to tools/install-deps.sh), "
            "so that the Debian package can depend on them.")
    endif()

    execute_process(COMMAND dpkg-query --search ${qmldirs}
        OUTPUT_VARIABLE owners RESULT_VARIABLE unowned)
    if(unowned)
        message(FATAL_ERROR "Some QML modules the views import come from no Debian package: ${qmldirs}")
    endif()
    # Lines read "package[:arch][, package...]: /path".
    string(REGEX REPLACE ":[^\n]*\n" ";" owners "${owners}")
    string(REPLACE ", " ";" owners "${owners}")
    list(FILTER owners EXCLUDE REGEX "^$")
    list(REMOVE_DUPLICATES owners)
    list(SORT owners)
    list(JOIN owners ", " depends)
    file(WRITE ${OUTPUT} "${depends}\n")
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
    vorlie_write_qml_packages()
endif()
