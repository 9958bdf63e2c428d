# Sourced by the build scripts: ccache settings that let builds in different
# checkouts of the repository (a CI clone, a developer's tree) share one cache.
# Paths are hashed relative to the checkout, and the cache lives in ~/.ccache
# unless CCACHE_DIR says otherwise.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
export CCACHE_DIR=${CCACHE_DIR:-$HOME/.ccache}
