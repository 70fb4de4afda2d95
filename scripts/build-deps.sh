#!/usr/bin/env bash
# Builds libjpeg-turbo, libpng, libtiff and giflib from Debian's source packages for
# i686-w64-mingw32 into the dependency cache (outside the repository), once.
# Prints nothing when the cache is already complete.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
. "$here/deps-env.sh"

stamp="$DEPS_PREFIX/.complete"
[ -f "$stamp" ] && exit 0

# Runs at once (two clones set up together) share the cache: a later one waits for the first to end,
# then finds the cache complete, instead of removing the first one's build folder under it.
mkdir -p "$DEPS_DIR"
exec 9>"$DEPS_DIR/.lock"
if ! flock -n 9; then
    echo "build-deps: waiting for another run to finish with $DEPS_DIR"
    flock 9
fi
[ -f "$stamp" ] && exit 0

# CMAKE_BUILD_PARALLEL_LEVEL, when set, leaves cores to others sharing the machine.
jobs=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
toolchain="$root/cmake/toolchain-i686-w64-mingw32.cmake"
src="$DEPS_DIR/src"
build="$DEPS_DIR/build"
rm -rf "$DEPS_PREFIX" "$build"
mkdir -p "$src" "$build" "$DEPS_PREFIX"

# The newest version whose source the archives still serve (a security update's source
# can be missing while its binaries are there).
fetch_source() {
    local pkg=$1 v
    for v in $(apt-cache showsrc "$pkg" 2>/dev/null | sed -n 's/^Version: //p' | sort -rV | uniq); do
        apt-get source -qq "$pkg=$v" >/dev/null 2>&1 && return 0
    done
    echo "build-deps: no source of $pkg could be fetched" >&2
    return 1
}

cd "$src"
for pkg in libjpeg-turbo libpng1.6 tiff giflib; do
    if ! ls -d "$src"/*/ 2>/dev/null | grep -q "/${pkg%1.6}[-0-9.]*/\?$"; then
        echo "build-deps: fetching the source of $pkg"
        fetch_source "$pkg"
    fi
done
jpeg_src=$(ls -d "$src"/libjpeg-turbo-*/ | head -1)
png_src=$(ls -d "$src"/libpng1.6-*/ | head -1)
tiff_src=$(ls -d "$src"/tiff-*/ | head -1)
gif_src=$(ls -d "$src"/giflib-*/ | head -1)

common=(-DCMAKE_TOOLCHAIN_FILE="$toolchain" -DTESSARINE_DEPS_PREFIX="$DEPS_PREFIX"
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$DEPS_PREFIX"
        -DBUILD_SHARED_LIBS=OFF -DCMAKE_POSITION_INDEPENDENT_CODE=OFF)

echo "build-deps: libjpeg-turbo"
cmake -S "$jpeg_src" -B "$build/jpeg" "${common[@]}" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
      -DWITH_SIMD=ON -DWITH_TURBOJPEG=OFF -DREQUIRE_SIMD=ON > "$build/jpeg.log"
cmake --build "$build/jpeg" -j"$jobs" --target install >> "$build/jpeg.log"

echo "build-deps: libpng"
cmake -S "$png_src" -B "$build/png" "${common[@]}" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
      -DPNG_EXECUTABLES=OFF -DZLIB_LIBRARY=/usr/i686-w64-mingw32/lib/libz.a \
      -DZLIB_INCLUDE_DIR=/usr/i686-w64-mingw32/include > "$build/png.log"
cmake --build "$build/png" -j"$jobs" --target install >> "$build/png.log"

echo "build-deps: libtiff"
cmake -S "$tiff_src" -B "$build/tiff" "${common[@]}" -Dzlib=ON -Djpeg=ON -Dpixarlog=ON -Dlzw=ON \
      -Dccitt=ON -Dnext=ON -Dpackbits=ON -Dthunder=ON -Dlogluv=ON -Dmdi=ON \
      -Dold-jpeg=ON -Djpeg12=OFF -Dlzma=OFF -Dzstd=OFF -Dwebp=OFF -Djbig=OFF -Dlerc=OFF \
      -Dlibdeflate=OFF -Dcxx=OFF -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF \
      -DZLIB_LIBRARY=/usr/i686-w64-mingw32/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/i686-w64-mingw32/include \
      -DJPEG_LIBRARY="$DEPS_PREFIX/lib/libjpeg.a" -DJPEG_INCLUDE_DIR="$DEPS_PREFIX/include" > "$build/tiff.log"
cmake --build "$build/tiff" -j"$jobs" --target install >> "$build/tiff.log"

echo "build-deps: giflib"
mkdir -p "$build/gif"
for f in dgif_lib egif_lib gifalloc gif_err gif_hash gif_font openbsd-reallocarray quantize; do
    [ -f "$gif_src/$f.c" ] || continue
    i686-w64-mingw32-gcc-posix -O2 -c "$gif_src/$f.c" -I"$gif_src" -o "$build/gif/$f.o"
done
i686-w64-mingw32-ar rcs "$DEPS_PREFIX/lib/libgif.a" "$build/gif"/*.o
cp "$gif_src/gif_lib.h" "$DEPS_PREFIX/include/"

# The test pictures each source package ships, for the reader tests.
mkdir -p "$DEPS_DIR/testimages"
rm -rf "$DEPS_DIR/testimages"/*
cp -r "$png_src/contrib/pngsuite" "$DEPS_DIR/testimages/png"
cp -r "$tiff_src/test/images" "$DEPS_DIR/testimages/tiff"
cp -r "$gif_src/pic" "$DEPS_DIR/testimages/gif"
cp -r "$jpeg_src/testimages" "$DEPS_DIR/testimages/jpeg"

rm -rf "$build"
touch "$stamp"
echo "build-deps: done in $DEPS_PREFIX"
