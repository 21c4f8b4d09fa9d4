# Where the Windows build keeps what outlives the tree; sourced by the Windows scripts.
: "${MORVEL_WINDOWS_CACHE:=${XDG_CACHE_HOME:-$HOME/.cache}/morvel-windows}"
MORVEL_WINDOWS_PREFIX="$MORVEL_WINDOWS_CACHE/prefix"
export MORVEL_WINDOWS_CACHE MORVEL_WINDOWS_PREFIX
