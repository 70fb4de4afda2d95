# The program itself: tessarine.exe in the build folder's root, made of the application library (which
# links the window folders below it) and the resources.
add_executable(tessarine WIN32 ${CMAKE_CURRENT_LIST_DIR}/program/TessarineMain.cpp
                                ${PROJECT_SOURCE_DIR}/resources/Tessarine.rc
                                ${PROJECT_SOURCE_DIR}/resources/app-frame.rc)
target_compile_options(tessarine PRIVATE ${TESSARINE_WARNINGS})
target_link_libraries(tessarine PRIVATE app)
# The entry point lives in the framework library: the runtime asks for it only after the libraries
# were searched, so it is asked for up front.
target_link_options(tessarine PRIVATE -Wl,--undefined=_WinMain@16)
set_target_properties(tessarine PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
file(GLOB _tessarine_resource_inputs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/*.rc
     ${PROJECT_SOURCE_DIR}/resources/*.h ${PROJECT_SOURCE_DIR}/resources/res/*)
set_source_files_properties(${PROJECT_SOURCE_DIR}/resources/Tessarine.rc PROPERTIES
                            OBJECT_DEPENDS "${_tessarine_resource_inputs}")

# The application tests start the real program: it is built before them.
function(_tessarine_program_before_tests)
    if(TARGET test_app)
        add_dependencies(test_app tessarine)
    endif()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL _tessarine_program_before_tests)
