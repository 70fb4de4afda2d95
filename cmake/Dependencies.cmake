# The picture libraries, built by scripts/build-deps.sh into the dependency cache.
if(NOT TESSARINE_DEPS_PREFIX)
    message(FATAL_ERROR "TESSARINE_DEPS_PREFIX is not set: use scripts/build.sh, which builds the dependencies first")
endif()

set(_mingw /usr/i686-w64-mingw32)
function(tessarine_import name file)
    if(NOT EXISTS ${file})
        message(FATAL_ERROR "missing ${file}: run scripts/build-deps.sh")
    endif()
    add_library(${name} STATIC IMPORTED GLOBAL)
    set_target_properties(${name} PROPERTIES IMPORTED_LOCATION ${file})
    target_include_directories(${name} SYSTEM INTERFACE ${TESSARINE_DEPS_PREFIX}/include)
endfunction()

tessarine_import(dep_zlib ${_mingw}/lib/libz.a)
tessarine_import(dep_jpeg ${TESSARINE_DEPS_PREFIX}/lib/libjpeg.a)
tessarine_import(dep_png  ${TESSARINE_DEPS_PREFIX}/lib/libpng16.a)
tessarine_import(dep_tiff ${TESSARINE_DEPS_PREFIX}/lib/libtiff.a)
tessarine_import(dep_gif  ${TESSARINE_DEPS_PREFIX}/lib/libgif.a)
set_property(TARGET dep_png  PROPERTY INTERFACE_LINK_LIBRARIES dep_zlib)
set_property(TARGET dep_tiff PROPERTY INTERFACE_LINK_LIBRARIES dep_jpeg dep_zlib)

# Where the test pictures shipped in the libraries' source packages were copied.
set(TESSARINE_TESTIMAGES ${TESSARINE_DEPS_PREFIX}/../testimages CACHE PATH "Test pictures of the dependency sources")
