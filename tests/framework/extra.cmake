# The framework tests' resources: every .rc file in this folder is linked into test_framework.
file(GLOB _framework_rc CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/framework/*.rc)
target_sources(test_framework PRIVATE ${_framework_rc})
