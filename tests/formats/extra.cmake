# Stand-ins for the QuickTime runtime the bridge tests load: "QuickTime.qts" with the runtime's three
# entry points (and a variant without its dispatcher), and "quicktime.cpl" control panels of
# versions 3 and 4. Each lands in its own folder of build/tests/qt, where the tests look for it.
set(_qt_dir ${CMAKE_BINARY_DIR}/tests/qt)
foreach(_variant standin nodispatcher)
    add_library(qt_${_variant} SHARED ${CMAKE_CURRENT_SOURCE_DIR}/formats/standin/QuickTimeStandIn.cpp)
    set_target_properties(qt_${_variant} PROPERTIES PREFIX "" OUTPUT_NAME "QuickTime" SUFFIX ".qts"
                          RUNTIME_OUTPUT_DIRECTORY ${_qt_dir}/${_variant})
    target_compile_options(qt_${_variant} PRIVATE ${TESSARINE_WARNINGS})
    add_dependencies(test_formats qt_${_variant})
endforeach()
target_compile_definitions(qt_nodispatcher PRIVATE STANDIN_WITHOUT_DISPATCHER)

foreach(_major 3 4)
    add_library(qt_cpl${_major} SHARED ${CMAKE_CURRENT_SOURCE_DIR}/formats/standin/ControlPanel.cpp
                ${CMAKE_CURRENT_SOURCE_DIR}/formats/standin/ControlPanel.rc)
    set_target_properties(qt_cpl${_major} PROPERTIES PREFIX "" OUTPUT_NAME "quicktime" SUFFIX ".cpl"
                          RUNTIME_OUTPUT_DIRECTORY ${_qt_dir}/cpl${_major})
    target_compile_definitions(qt_cpl${_major} PRIVATE QT_MAJOR=${_major})
    add_dependencies(test_formats qt_cpl${_major})
endforeach()
