# Shared by the scripts that build or test; sourced, not run.
# shellcheck shell=bash

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# configure_and_build BUILD_DIR [CMAKE_ARGS...]: (re)configure one build tree and build it.
configure_and_build() {
    local build_dir="$1"
    shift
    cmake -S "$repo_root" -B "$build_dir" "$@"
    cmake --build "$build_dir" -j2
}

# run_ctest BUILD_DIR: runs every test, leaving out CTest's closing timing line and the blank
# lines before it, then says why each skipped test was skipped: CTest lists skipped tests but
# prints their output only on failure, so a test skipped for want of the corpus would not say
# where it looked. Returns CTest's status; the callers set pipefail.
run_ctest() {
    local results="$1/ctest-results.xml" status=0
    rm -f "$results"
    (cd "$1" && ctest --output-on-failure --no-tests=error --output-junit "$results") 2>&1 | awk '
        /^Total Test time/ { next }
        /^[[:space:]]*$/ { blanks++; next }
        { while (blanks > 0) { print ""; blanks-- } print }' || status=$?
    print_skip_reasons "$results"
    return "$status"
}

# print_skip_reasons RESULTS_XML: one line for each skipped test of a CTest JUnit file, with
# the reason the test printed: the text GoogleTest writes after "Skipped", else the first
# line of its output.
print_skip_reasons() {
    [ -f "$1" ] || return 0
    if ! command -v python3 >/dev/null; then
        echo "(python3 is missing: the reasons for skipped tests are not shown)"
        return 0
    fi
    python3 - "$1" <<'EOF'
import sys
import xml.etree.ElementTree as ET

lines = []
for case in ET.parse(sys.argv[1]).getroot().iter("testcase"):
    if case.find("skipped") is None:
        continue
    output = [line.strip() for line in (case.findtext("system-out") or "").splitlines()]
    reasons = []
    for before, line in zip(output, output[1:]):
        if before.endswith(": Skipped") and line and line not in reasons:
            reasons.append(line)
    if not reasons:
        reasons = [next((line for line in output if line), "no reason printed")]
    lines.append(f"\t{case.get('name')}: {'; '.join(reasons)}")
if lines:
    print("Why they were skipped:")
    print("\n".join(lines))
EOF
}
