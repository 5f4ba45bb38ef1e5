cmake_minimum_required(VERSION 3.25)
# Checks the layering of src/ by its #include lines; run by CTest:
#   cmake -DSOURCE_DIR=<project> -P include_rules.cmake
# Each rule: a folder of src/, whether it may include Qt, and the folders of
# src/ it may include from. Folders that do not exist yet are skipped.

set(rules
    "model|no-qt|model"
    "link|no-qt|link,model"
    "i18n|no-qt|i18n"
    "editing|no-qt|editing,model,link,i18n"
    "datalog|no-qt|datalog,model,link"
    "history|no-qt|history,model"
    "compare|no-qt|compare,editing,model"
    "launcher|no-qt|launcher"
    "doctor|no-qt|doctor,link,model"
)
# Folders of the Qt side of a layer: they follow the other rules of their
# folder but may use Qt.
set(qt_subfolders "editing/widgets")
# What src/ must never include: the tools are built on the product, not in it.
set(tool_folders sim cli gallery helpdoc)

set(problems "")

function(check_file file folder qt_allowed allowed)
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include")
    file(RELATIVE_PATH shown "${SOURCE_DIR}" "${file}")
    foreach(line IN LISTS lines)
        if(line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z0-9_/]*)")
            if(NOT qt_allowed)
                set(problems "${problems}\n  ${shown}: Qt header <${CMAKE_MATCH_1}> in ${folder}")
            endif()
        elseif(NOT qt_allowed AND line MATCHES "\"([A-Za-z0-9_/]*/widgets/)")
            set(problems "${problems}\n  ${shown}: the Qt widgets ${CMAKE_MATCH_1} in ${folder}")
        elseif(line MATCHES "#[ \t]*include[ \t]*\"([A-Za-z0-9_]+)/")
            set(included "${CMAKE_MATCH_1}")
            if(included IN_LIST tool_folders)
                set(problems "${problems}\n  ${shown}: includes the tool folder ${included}/")
            elseif(NOT included IN_LIST allowed)
                set(problems "${problems}\n  ${shown}: ${folder} may not include ${included}/")
            endif()
        endif()
    endforeach()
    set(problems "${problems}" PARENT_SCOPE)
endfunction()

foreach(rule IN LISTS rules)
    string(REPLACE "|" ";" parts "${rule}")
    list(GET parts 0 folder)
    list(GET parts 1 qt)
    list(GET parts 2 allowed)
    string(REPLACE "," ";" allowed "${allowed}")
    set(root "${SOURCE_DIR}/src/${folder}")
    if(NOT IS_DIRECTORY "${root}")
        continue()
    endif()
    file(GLOB_RECURSE files "${root}/*.h" "${root}/*.cpp")
    foreach(file IN LISTS files)
        set(qt_allowed FALSE)
        foreach(sub IN LISTS qt_subfolders)
            if(file MATCHES "/src/${sub}/")
                set(qt_allowed TRUE)
            endif()
        endforeach()
        check_file("${file}" "${folder}" ${qt_allowed} "${allowed}")
    endforeach()
endforeach()

# Every other folder of src/ (the Qt side) still never includes the tools.
file(GLOB_RECURSE all_sources "${SOURCE_DIR}/src/*.h" "${SOURCE_DIR}/src/*.cpp")
foreach(file IN LISTS all_sources)
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS lines)
        if(line MATCHES "\"([A-Za-z0-9_]+)/" AND CMAKE_MATCH_1 IN_LIST tool_folders)
            file(RELATIVE_PATH shown "${SOURCE_DIR}" "${file}")
            set(problems "${problems}\n  ${shown}: includes the tool folder ${CMAKE_MATCH_1}/")
        endif()
    endforeach()
endforeach()

if(problems)
    list(REMOVE_DUPLICATES problems)
    message(FATAL_ERROR "Include rules broken:${problems}")
endif()
message(STATUS "Include rules kept")
