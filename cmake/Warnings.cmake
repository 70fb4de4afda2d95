# Warnings on, and treated as errors, for the project's own targets.
set(TESSARINE_WARNINGS -Wall -Wextra -Werror -Wno-unused-parameter -Wno-missing-field-initializers
    -Wno-cast-function-type)

# tessarine_library(name dir DEPENDS...): a static library of every source in a folder.
function(tessarine_library name)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    file(GLOB _sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c
                                         ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    if(NOT _sources)
        # A folder whose units have not landed yet.
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
        return()
    endif()
    add_library(${name} STATIC ${_sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_compile_options(${name} PRIVATE ${TESSARINE_WARNINGS})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
endfunction()
