# Where the dependency cache lives; sourced by the other scripts.
# The version tag changes whenever build-deps.sh changes what it builds.
DEPS_VERSION=1
DEPS_DIR=${TESSARINE_DEPS_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/tessarine-deps}
DEPS_PREFIX="$DEPS_DIR/i686-v$DEPS_VERSION"
export DEPS_DIR DEPS_PREFIX
