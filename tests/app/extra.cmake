# The program's resources, linked into the test program so that the tests can load them.
set(_resources ${PROJECT_SOURCE_DIR}/resources)
target_sources(test_app PRIVATE ${_resources}/Tessarine.rc)
file(GLOB _resource_inputs CONFIGURE_DEPENDS ${_resources}/*.rc ${_resources}/*.h ${_resources}/res/*)
set_source_files_properties(${_resources}/Tessarine.rc PROPERTIES OBJECT_DEPENDS "${_resource_inputs}")
target_link_libraries(test_app PRIVATE shlwapi psapi)
# The tests' own TWAIN data source, "sane.ds", which scripts/test.sh installs in the test prefix where
# Wine's source manager looks for sources. It is never part of the program.
add_library(test_twain_source SHARED ${CMAKE_CURRENT_SOURCE_DIR}/app/twainsource/TestSource.cpp)
target_include_directories(test_twain_source PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(test_twain_source PRIVATE ${TESSARINE_WARNINGS})
# DS_Entry is looked up by its plain name.
target_link_options(test_twain_source PRIVATE -Wl,--kill-at)
set_target_properties(test_twain_source PROPERTIES PREFIX "" OUTPUT_NAME sane SUFFIX ".ds"
                      RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests/twain)
add_dependencies(test_app test_twain_source)
