find_package(Threads REQUIRED)

add_library(hx_options INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(hx_options INTERFACE -Wall -Wextra -Wno-unused-parameter)
endif()

# Sanitizers for the native suite: HX_SANITIZE=address,undefined or thread.
set(HX_SANITIZE "" CACHE STRING "Sanitizers for the native build (address,undefined | thread)")
if(HX_SANITIZE)
    add_compile_options(-fsanitize=${HX_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${HX_SANITIZE})
endif()

# libFuzzer targets beside the native tests (clang, with the sanitizers above: undefined
# behaviour stops a run like a crash, so that it counts as a finding): everything is
# instrumented for coverage, and each tests/fuzz/*.cpp becomes its own fuzzer program.
option(HX_FUZZ "Build the libFuzzer targets of tests/fuzz too (clang)" OFF)
if(HX_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# No compiler DLLs ship: every Windows product links the C and C++ runtimes statically.
function(hx_static_runtime target)
    if(WIN32)
        target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
    endif()
endfunction()

# What the installer ships (the utility, hxctl and the two libraries) goes without its symbols
# and the debug sections that the static runtime and libgcrypt bring along, in an optimised
# build: a third of the size, and Wine maps each image it loads in full, so the utility's
# window shows sooner.
function(hx_shipped target)
    if(WIN32 AND CMAKE_BUILD_TYPE STREQUAL "Release")
        target_link_options(${target} PRIVATE -s)
    endif()
endfunction()

# libgcrypt: the static archives for Windows (the DLL import library would be picked
# otherwise), the system library natively.
function(hx_link_gcrypt target)
    if(WIN32)
        target_link_libraries(${target} PRIVATE
            ${CMAKE_FIND_ROOT_PATH}/lib/libgcrypt.a ${CMAKE_FIND_ROOT_PATH}/lib/libgpg-error.a ws2_32)
    else()
        find_library(HX_GCRYPT gcrypt REQUIRED)
        find_library(HX_GPG_ERROR gpg-error REQUIRED)
        target_link_libraries(${target} PRIVATE ${HX_GCRYPT} ${HX_GPG_ERROR})
    endif()
endfunction()

# A stand-in DLL with exports named by a list file ("Name argWords" per line): the .def for
# this architecture is generated from it; on i686 the decorated __stdcall names are
# exported undecorated (--kill-at) and the import library is made by dlltool -k, which is
# the one a link can use. Defines <name> (the DLL) and <name>_import (to link against).
function(hx_stand_in_dll name exports_file)
    file(STRINGS ${exports_file} lines REGEX "^[A-Za-z_]")
    set(def_plain "LIBRARY ${name}.dll\nEXPORTS\n")
    set(def_decorated "LIBRARY ${name}.dll\nEXPORTS\n")
    foreach(line IN LISTS lines)
        string(REGEX MATCH "^([A-Za-z_0-9]+)[ \t]+([0-9]+)" _ "${line}")
        math(EXPR bytes "${CMAKE_MATCH_2} * 4")
        string(APPEND def_plain "    ${CMAKE_MATCH_1}\n")
        string(APPEND def_decorated "    ${CMAKE_MATCH_1}@${bytes}\n")
    endforeach()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${exports_file})
    set(def_file ${CMAKE_CURRENT_BINARY_DIR}/${name}.def)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        file(WRITE ${def_file} "${def_decorated}")
    else()
        file(WRITE ${def_file} "${def_plain}")
    endif()
    set_target_properties(${name} PROPERTIES PREFIX "" IMPORT_PREFIX "lib" OUTPUT_NAME ${name}
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    target_sources(${name} PRIVATE ${def_file})
    hx_static_runtime(${name})
    hx_shipped(${name})
    add_library(${name}_import INTERFACE)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        target_link_options(${name} PRIVATE -Wl,--kill-at)
        set(implib ${CMAKE_CURRENT_BINARY_DIR}/lib${name}_k.a)
        add_custom_command(OUTPUT ${implib}
            COMMAND ${HX_DLLTOOL} -k -d ${def_file} -D ${name}.dll -l ${implib}
            DEPENDS ${def_file} VERBATIM)
        add_custom_target(${name}_implib DEPENDS ${implib})
        add_dependencies(${name}_import ${name}_implib)
        target_link_libraries(${name}_import INTERFACE ${implib})
    else()
        target_link_libraries(${name}_import INTERFACE ${name})
    endif()
endfunction()
