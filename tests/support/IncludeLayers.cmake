# Fails when a source file includes a header from a layer above its own.
#
#   cmake -DKELVO_SRC_DIR=<repo>/src -P IncludeLayers.cmake
#       checks the game's sources;
#   cmake -DKELVO_SELF_CHECK_DIR=<scratch folder> -P IncludeLayers.cmake
#       writes a small tree with one upward include and fails unless exactly
#       that include is reported, so the check cannot pass by seeing nothing.
#
# Layers, top to bottom; a folder may include its own layer and every layer
# below it, never one above:
#   4 app
#   3 labyrinth, gui
#   2 physics, resources
#   1 sg, controls
#   0 platform
cmake_minimum_required(VERSION 3.25)

set(rank_app 4)
set(rank_labyrinth 3)
set(rank_gui 3)
set(rank_physics 2)
set(rank_resources 2)
set(rank_sg 1)
set(rank_controls 1)
set(rank_platform 0)
# The scene graph's collision operations take the physics volumes and
# entities as arguments; those two headers are the one sanctioned way up.
set(allowed_upward "sg:physics/BoundingSphere.h" "sg:physics/SgPhysEntity.h")

# Sets out_var to one "file -> included header" line per upward include, and
# one "folder: not in any layer" line per source folder missing above.
function(kelvo_layer_violations root out_var)
    set(found "")
    file(GLOB folders LIST_DIRECTORIES true RELATIVE ${root} ${root}/*)
    foreach(folder ${folders})
        if(IS_DIRECTORY ${root}/${folder} AND NOT DEFINED rank_${folder})
            list(APPEND found "${folder}: not in any layer")
        endif()
    endforeach()
    file(GLOB_RECURSE sources RELATIVE ${root} ${root}/*.h ${root}/*.cpp)
    list(SORT sources)
    foreach(source ${sources})
        string(REGEX MATCH "^[^/]+" folder "${source}")
        if(NOT DEFINED rank_${folder})
            continue()
        endif()
        file(STRINGS ${root}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
        foreach(line ${lines})
            string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" header "${line}")
            if(NOT header MATCHES "^([^/]+)/")
                continue()  # same folder
            endif()
            set(target ${CMAKE_MATCH_1})
            if(NOT DEFINED rank_${target} OR NOT rank_${target} GREATER rank_${folder})
                continue()
            endif()
            if("${folder}:${header}" IN_LIST allowed_upward)
                continue()
            endif()
            list(APPEND found "${source} -> ${header}")
        endforeach()
    endforeach()
    set(${out_var} "${found}" PARENT_SCOPE)
endfunction()

if(DEFINED KELVO_SELF_CHECK_DIR)
    set(root ${KELVO_SELF_CHECK_DIR}/layers)
    file(REMOVE_RECURSE ${root})
    file(WRITE ${root}/sg/Upward.h "#pragma once\n  #  include \"app/Globals.h\"\n#include \"platform/Cursor.h\"\n")
    file(WRITE ${root}/sg/Collide.cpp "#include \"physics/SgPhysEntity.h\"\n")
    file(WRITE ${root}/labyrinth/Side.cpp "#include \"gui/SgGUIHover.h\"\n#include \"sg/SgEntity.h\"\n")
    file(WRITE ${root}/platform/Own.cpp "#include \"platform/Cursor.h\"\n#include <GL/glew.h>\n")
    kelvo_layer_violations(${root} found)
    file(REMOVE_RECURSE ${root})
    set(expected "sg/Upward.h -> app/Globals.h")
    if(NOT found STREQUAL expected)
        message(FATAL_ERROR "layer check reported \"${found}\", expected \"${expected}\"")
    endif()
    message(STATUS "layer check reports the one upward include of its sample tree")
elseif(DEFINED KELVO_SRC_DIR)
    kelvo_layer_violations(${KELVO_SRC_DIR} found)
    if(found)
        list(JOIN found "\n  " text)
        message(FATAL_ERROR "includes that point up a layer (app > labyrinth, gui > physics, "
                            "resources > sg, controls > platform):\n  ${text}")
    endif()
    message(STATUS "every include under ${KELVO_SRC_DIR} points to its own layer or one below")
else()
    message(FATAL_ERROR "set KELVO_SRC_DIR or KELVO_SELF_CHECK_DIR")
endif()
