# Shared by the scripts that build or test; sourced, not run.

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# configure_and_build BUILD_DIR [CMAKE_ARGS...]: (re)configure one build tree and build it.
configure_and_build() {
    local build_dir="$1"
    shift
    cmake -S "$repo_root" -B "$build_dir" "$@"
    cmake --build "$build_dir" -j2
}

# run_ctest BUILD_DIR: runs every test, leaving out CTest's closing timing line and the blank
# lines before it so that the pass/fail summary is the last thing printed. The callers set
# pipefail, so a failing test fails the pipeline.
run_ctest() {
    (cd "$1" && ctest --output-on-failure --no-tests=error) 2>&1 | awk '
        /^Total Test time/ { next }
        /^[[:space:]]*$/ { blanks++; next }
        { while (blanks > 0) { print ""; blanks-- } print }'
}
