# Compiler settings for Tarnwell's own targets. Qt and Google Benchmark come in
# as system headers, so their warnings never fail our build.

if(TARNWELL_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

function(tarnwell_target_options target)
    if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Werror)
    endif()
    target_compile_definitions(${target} PRIVATE QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
                               QT_NO_KEYWORDS)
endfunction()

# tarnwell_library(name SOURCES ... USES ...): one static library of Tarnwell's
# own, defined in the folder it is built from. Its headers are included from
# src/ ("model/mod_all.h"). USES names the libraries, ours and Qt's, that it
# may use; the include check (cmake/IncludeArrows.cmake) fails the build when a
# file includes a header of any other library of ours.
function(tarnwell_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;USES" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_USES})
    tarnwell_target_options(${name})
endfunction()
