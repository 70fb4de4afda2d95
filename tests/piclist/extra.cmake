# The program's resources, linked into the test program so that the tests can load them.
set(_resources ${PROJECT_SOURCE_DIR}/resources)
target_sources(test_piclist PRIVATE ${_resources}/Tessarine.rc)
file(GLOB _resource_inputs CONFIGURE_DEPENDS ${_resources}/*.rc ${_resources}/*.h ${_resources}/res/*)
set_source_files_properties(${_resources}/Tessarine.rc PROPERTIES OBJECT_DEPENDS "${_resource_inputs}")
target_link_libraries(test_piclist PRIVATE shlwapi)
