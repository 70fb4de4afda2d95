# The program's resources, linked into the test program so that the tests can load them.
set(_resources ${PROJECT_SOURCE_DIR}/resources)
target_sources(test_library PRIVATE ${_resources}/Tessarine.rc)
file(GLOB _resource_inputs CONFIGURE_DEPENDS ${_resources}/*.rc ${_resources}/*.h ${_resources}/res/*)
set_source_files_properties(${_resources}/Tessarine.rc PROPERTIES OBJECT_DEPENDS "${_resource_inputs}")
target_link_libraries(test_library PRIVATE shlwapi)
# The library's tests build on the picture-list tests' library and list fixtures.
target_sources(test_library PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/piclist/LibraryTestSupport.cpp
                                    ${CMAKE_CURRENT_SOURCE_DIR}/piclist/PicListTestSupport.cpp)
