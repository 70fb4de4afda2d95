# The explorer tests start the real application object: its fixture and the program's resources.
set(_resources ${PROJECT_SOURCE_DIR}/resources)
target_sources(test_explorer PRIVATE ${_resources}/Tessarine.rc ${PROJECT_SOURCE_DIR}/tests/app/AppFixture.cpp)
file(GLOB _resource_inputs CONFIGURE_DEPENDS ${_resources}/*.rc ${_resources}/*.h ${_resources}/res/*)
set_source_files_properties(${_resources}/Tessarine.rc PROPERTIES OBJECT_DEPENDS "${_resource_inputs}")
target_link_libraries(test_explorer PRIVATE shlwapi psapi)
