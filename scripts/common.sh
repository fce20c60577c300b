# Shared by scripts/run and scripts/test; sourced, not run.

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# configure_and_build BUILD_DIR [CMAKE_ARGS...]: (re)configure one build tree and build it.
configure_and_build() {
    local build_dir="$1"
    shift
    cmake -S "$repo_root" -B "$build_dir" "$@"
    cmake --build "$build_dir" -j2
}
