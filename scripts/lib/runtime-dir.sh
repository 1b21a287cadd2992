# Sourced by the scripts that start Qt programs: a private runtime folder
# (Qt wants one of mode 0700), removed when the script exits however it ends.
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
trap 'rm -rf "$runtime"' EXIT
