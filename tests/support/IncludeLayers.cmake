# Fails when a source file includes a header from a layer above its own.
#
#   cmake -DKELVO_SRC_DIR=<repo>/src -P IncludeLayers.cmake
#       checks the game's sources;
#   cmake -DKELVO_SELF_CHECK_DIR=<scratch folder> -P IncludeLayers.cmake
#       writes a small tree with upward includes and fails unless exactly
#       those are reported, so the check cannot pass by seeing nothing.
#
# Layers, top to bottom; a file may include its own layer and every layer
# below it, never one above:
#   7 app/main.cpp (the entry, which wires every room together)
#   6 replay, harness
#   5 app (the game shell)
#   4 profile
#   3 labyrinth, gui, window, challenge
#   2 physics, resources
#   1 sg, controls
#   0 platform
# A file ranks as its folder unless it has a rank of its own (rank_<path>).
cmake_minimum_required(VERSION 3.25)

set(rank_app/main.cpp 7)
set(rank_replay 6)
set(rank_harness 6)
set(rank_app 5)
set(rank_profile 4)
set(rank_labyrinth 3)
set(rank_gui 3)
set(rank_window 3)
# Maze codes read the settings' ranges from gui/GameLimits.h.
set(rank_challenge 3)
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
        set(rank ${rank_${folder}})
        if(DEFINED rank_${source})
            set(rank ${rank_${source}})
        endif()
        file(STRINGS ${root}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
        foreach(line ${lines})
            string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" header "${line}")
            if(NOT header MATCHES "^([^/]+)/")
                continue()  # same folder
            endif()
            set(target ${CMAKE_MATCH_1})
            if(NOT DEFINED rank_${target} OR NOT rank_${target} GREATER rank)
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
    # The entry may use every room; the rest of the shell may not reach up.
    file(WRITE ${root}/app/main.cpp "#include \"replay/Player.h\"\n#include \"app/Loop.h\"\n")
    file(WRITE ${root}/app/Loop.cpp "#include \"profile/Files.h\"\n#include \"replay/Player.h\"\n")
    file(WRITE ${root}/replay/Player.cpp "#include \"app/Loop.h\"\n")
    kelvo_layer_violations(${root} found)
    file(REMOVE_RECURSE ${root})
    set(expected "app/Loop.cpp -> replay/Player.h" "sg/Upward.h -> app/Globals.h")
    if(NOT found STREQUAL expected)
        message(FATAL_ERROR "layer check reported \"${found}\", expected \"${expected}\"")
    endif()
    message(STATUS "layer check reports the upward includes of its sample tree")
elseif(DEFINED KELVO_SRC_DIR)
    kelvo_layer_violations(${KELVO_SRC_DIR} found)
    if(found)
        list(JOIN found "\n  " text)
        message(FATAL_ERROR "includes that point up a layer (app/main.cpp > replay, harness > app > "
                            "profile > labyrinth, gui, window, challenge > physics, resources > sg, controls > platform):\n  ${text}")
    endif()
    message(STATUS "every include under ${KELVO_SRC_DIR} points to its own layer or one below")
else()
    message(FATAL_ERROR "set KELVO_SRC_DIR or KELVO_SELF_CHECK_DIR")
endif()
