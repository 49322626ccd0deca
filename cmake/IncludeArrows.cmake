# The arrows between the layers, enforced. Every library of ours says which
# libraries it uses (tarnwell_library's USES, or target_link_libraries); a
# file of any target of ours may include the headers of its own target and of
# the libraries that target uses, directly or through another, and no other
# header of ours. Header-only helpers (the tests' fixtures) are INTERFACE
# libraries listing their headers, so they have uses and users like any other.
# A check that runs in every build (check_include_arrows.cmake) fails it at the
# first #include, in quotes or angle brackets, that breaks this, and at an
# include of a header of ours that belongs to no library.
#
# Run last, once every target is defined.

# Every target below `directory`, depth first.
function(tarnwell_targets_below directory out)
    get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
    get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
    foreach(subdirectory IN LISTS subdirectories)
        tarnwell_targets_below(${subdirectory} below)
        list(APPEND targets ${below})
    endforeach()
    set(${out} ${targets} PARENT_SCOPE)
endfunction()

tarnwell_targets_below(${PROJECT_SOURCE_DIR} tarnwell_all_targets)
set(tarnwell_checked_targets)
foreach(target IN LISTS tarnwell_all_targets)
    get_target_property(type ${target} TYPE)
    if(type MATCHES "^(STATIC_LIBRARY|INTERFACE_LIBRARY|EXECUTABLE)$")
        list(APPEND tarnwell_checked_targets ${target})
    endif()
endforeach()

# Whether `path` is in our source tree and not in the build tree beneath it.
function(tarnwell_is_ours path out)
    cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${path}" NORMALIZE in_source)
    cmake_path(IS_PREFIX PROJECT_BINARY_DIR "${path}" NORMALIZE in_build)
    if(in_source AND NOT in_build)
        set(${out} TRUE PARENT_SCOPE)
    else()
        set(${out} FALSE PARENT_SCOPE)
    endif()
endfunction()

# The libraries of ours that `target` uses, directly or through another.
function(tarnwell_used_libraries target out)
    set(used)
    set(pending ${target})
    while(pending)
        list(POP_FRONT pending current)
        get_target_property(links ${current} LINK_LIBRARIES)
        get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
        foreach(link IN LISTS links interface)
            if(link IN_LIST tarnwell_checked_targets AND NOT link IN_LIST used)
                list(APPEND used ${link})
                list(APPEND pending ${link})
            endif()
        endforeach()
    endwhile()
    set(${out} ${used} PARENT_SCOPE)
endfunction()

# The manifest: one line per target, "name|type|its files|the libraries it
# uses"; and the folders our targets include from, where an include is looked
# for after the including file's own folder.
set(manifest_lines)
set(checked_files)
set(include_roots)
foreach(target IN LISTS tarnwell_checked_targets)
    get_target_property(sources ${target} SOURCES)
    get_target_property(folder ${target} SOURCE_DIR)
    set(files)
    foreach(source IN LISTS sources)
        if(source MATCHES "^\\$<")
            continue()
        endif()
        cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${folder} NORMALIZE OUTPUT_VARIABLE file)
        tarnwell_is_ours(${file} ours)
        if(file MATCHES "\\.(h|cpp)$" AND ours AND EXISTS ${file})
            list(APPEND files ${file})
        endif()
    endforeach()
    foreach(property INCLUDE_DIRECTORIES INTERFACE_INCLUDE_DIRECTORIES)
        get_target_property(directories ${target} ${property})
        foreach(directory IN LISTS directories)
            string(REGEX REPLACE "^\\$<BUILD_INTERFACE:(.*)>$" "\\1" directory "${directory}")
            if(directory AND NOT directory MATCHES "\\$<")
                tarnwell_is_ours(${directory} ours)
                if(ours)
                    list(APPEND include_roots ${directory})
                endif()
            endif()
        endforeach()
    endforeach()
    tarnwell_used_libraries(${target} used)
    get_target_property(type ${target} TYPE)
    list(JOIN files "," files_text)
    list(JOIN used "," used_text)
    list(APPEND manifest_lines "${target}|${type}|${files_text}|${used_text}")
    list(APPEND checked_files ${files})
endforeach()
list(REMOVE_DUPLICATES checked_files)
list(REMOVE_DUPLICATES include_roots)
list(JOIN manifest_lines "\n" manifest_text)
list(JOIN include_roots "," roots_text)
set(manifest ${PROJECT_BINARY_DIR}/include_arrows.txt)
file(CONFIGURE OUTPUT ${manifest} CONTENT "${manifest_text}\n" @ONLY)

set(stamp ${PROJECT_BINARY_DIR}/include_arrows.stamp)
add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${manifest} -DROOTS=${roots_text} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
            -DSTAMP=${stamp} -P ${CMAKE_CURRENT_LIST_DIR}/check_include_arrows.cmake
    DEPENDS ${checked_files} ${manifest} ${CMAKE_CURRENT_LIST_DIR}/check_include_arrows.cmake
    COMMENT "Checking that every #include follows the arrows between the layers"
    VERBATIM)
add_custom_target(check_include_arrows ALL DEPENDS ${stamp})
