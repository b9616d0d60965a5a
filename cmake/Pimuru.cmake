# Small helpers shared by the CMake files of every folder.

# Adds a folder only once it has its own CMakeLists.txt, so folders can
# appear one at a time.
function(pimuru_add_optional_subdirectory dir)
    if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt")
        add_subdirectory(${dir})
    endif()
endfunction()

# A static library of one source folder. Usage:
#   pimuru_library(pimuru_base SOURCES a.cpp b.cpp LINKS lib1 lib2)
function(pimuru_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
endfunction()

# Fails the configuration when one of the given libraries links, directly or
# through another library, anything of Qt or of the platform's libraries
# (OpenAL, SDL, FluidSynth, found through pkg-config). Usage:
#   pimuru_check_qt_free(pimuru_rules pimuru_replay)
function(pimuru_check_qt_free)
    foreach(root ${ARGN})
        set(seen "")
        set(pending ${root})
        while(pending)
            list(POP_FRONT pending name)
            if(name IN_LIST seen OR NOT TARGET ${name})
                continue()
            endif()
            list(APPEND seen ${name})
            if(name MATCHES "^(Qt6?::|PkgConfig::)")
                message(FATAL_ERROR "${root} must stay free of Qt and the platform's libraries, "
                                    "but links ${name}")
            endif()
            get_target_property(type ${name} TYPE)
            set(property INTERFACE_LINK_LIBRARIES)
            if(NOT type STREQUAL "INTERFACE_LIBRARY")
                set(property LINK_LIBRARIES)
            endif()
            get_target_property(links ${name} ${property})
            if(links)
                list(APPEND pending ${links})
            endif()
        endwhile()
    endforeach()
endfunction()

# A GoogleTest executable registered with CTest. Usage:
#   pimuru_test(base_test SOURCES a_test.cpp LINKS pimuru_base)
if(NOT PIMURU_TESTS)
    return()
endif()
include(GoogleTest)
find_package(GTest REQUIRED)
function(pimuru_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests")
    target_link_libraries(${name} PRIVATE ${ARG_LINKS} GTest::gtest GTest::gmock GTest::gtest_main)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()
