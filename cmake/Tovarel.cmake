# Shared build settings: one interface target with the Qt modules and one precompiled header reused by all.

add_library(tovarel_common INTERFACE)
target_link_libraries(tovarel_common INTERFACE
    Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport Qt6::Network Qt6::Xml)
target_include_directories(tovarel_common INTERFACE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/outside/include)
target_compile_options(tovarel_common INTERFACE -Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers)

add_library(tovarel_pch OBJECT ${PROJECT_SOURCE_DIR}/cmake/pch.cpp)
target_link_libraries(tovarel_pch PUBLIC tovarel_common)
target_precompile_headers(tovarel_pch PRIVATE ${PROJECT_SOURCE_DIR}/src/pch.h)

function(tovarel_use_pch target)
    target_precompile_headers(${target} REUSE_FROM tovarel_pch)
endfunction()

# A stand-in outside library: an ELF shared object under the exact file name the program loads.
function(tovarel_outside_library target file_name)
    add_library(${target} SHARED ${ARGN})
    set_target_properties(${target} PROPERTIES
        PREFIX "" OUTPUT_NAME "${file_name}" SUFFIX ""
        LIBRARY_OUTPUT_DIRECTORY ${TOVAREL_PROGRAM_DIR}
        CXX_VISIBILITY_PRESET hidden C_VISIBILITY_PRESET hidden)
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/outside/include)
    # Listed in the version manifest of ProgramFolder.
    set_property(GLOBAL APPEND PROPERTY TOVAREL_VERSIONED_FILES "${file_name}")
endfunction()

# AUTOMOC does not notice headers that a re-glob adds: when the source list changed, drop its timestamp so it runs.
function(tovarel_autogen_on_source_change target)
    get_target_property(sources ${target} SOURCES)
    string(REPLACE ";" "\n" listing "${sources}")
    set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_sources.txt)
    set(previous "")
    if(EXISTS ${list_file})
        file(READ ${list_file} previous)
    endif()
    if(NOT previous STREQUAL "${listing}")
        file(WRITE ${list_file} "${listing}")
        file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/timestamp)
    endif()
endfunction()
