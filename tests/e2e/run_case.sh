#!/usr/bin/env bash
# Runs one end-to-end case of a program and compares what it did, byte for byte, with the case's
# expectations. Usage: run_case.sh PROGRAM CASE_DIR
#
# A case is a folder; every file in it is optional:
#   files/            copied into the fresh working directory before the run
#   setup             bash script run in the working directory before the run (generated inputs)
#   args              the command-line arguments, one per line (an empty line is an empty argument)
#   argv0             the name the program is invoked by (default: the program's file name)
#   stdin             standard input (default: /dev/null)
#   stdin_path        a path, relative to the working directory, to redirect standard input from
#   stack_kib         the stack limit for the run, as for `ulimit -s`
#   stdout_filter     shell command that standard output is piped through before the comparison
#   expected_stdout   expected standard output (default: empty)
#   expected_stderr   expected standard error (default: empty)
#   expected_status   expected exit status (default: 0)
#
# E2E_WRAPPER, when set, is a command prefix split at blanks (such as "valgrind -q") that runs
# the program. The program still sees the case's argv0: the wrapper is handed that name, reached
# through a private PATH entry for a bare name, or through a symbolic link at that path in the
# working directory for a relative one. An absolute argv0 cannot be arranged so and is refused.
set -u

program=$1
case_dir=$(cd "$2" && pwd)
scratch=$(mktemp -d)
trap 'chmod -R u+rwX "$scratch" 2>/dev/null; rm -rf "$scratch"' EXIT
work=$scratch/work
mkdir "$work"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

if [ -d "$case_dir/files" ]; then
    cp -R "$case_dir/files/." "$work/"
fi
cd "$work" || fail "cannot enter $work"
if [ -f "$case_dir/setup" ]; then
    bash "$case_dir/setup" || fail "setup script failed"
fi

args=()
if [ -f "$case_dir/args" ]; then
    mapfile -t args <"$case_dir/args"
fi
argv0=$(basename "$program")
[ -f "$case_dir/argv0" ] && argv0=$(<"$case_dir/argv0")
stdin=/dev/null
[ -f "$case_dir/stdin" ] && stdin=$case_dir/stdin
[ -f "$case_dir/stdin_path" ] && stdin=$(<"$case_dir/stdin_path")
stack_kib=
[ -f "$case_dir/stack_kib" ] && stack_kib=$(<"$case_dir/stack_kib")

wrapper=() wrapper_bin=
if [ -n "${E2E_WRAPPER:-}" ]; then
    read -r -a wrapper <<<"$E2E_WRAPPER"
    case $argv0 in
    /*) fail "argv0 $argv0 is absolute and cannot be given to the program through E2E_WRAPPER" ;;
    */*)
        [ -e "$argv0" ] && fail "argv0 $argv0 names an existing path of the working directory"
        mkdir -p "$(dirname "$argv0")" && ln -s "$program" "$argv0" || fail "cannot link $argv0"
        ;;
    *)
        wrapper_bin=$scratch/bin
        mkdir "$wrapper_bin" && ln -s "$program" "$wrapper_bin/$argv0" || fail "cannot link $argv0"
        ;;
    esac
fi

run_program() {
    (
        if [ -n "$stack_kib" ]; then
            ulimit -s "$stack_kib" || exit 125
        fi
        if [ ${#wrapper[@]} -gt 0 ]; then
            [ -n "$wrapper_bin" ] && PATH=$wrapper_bin:$PATH
            exec "${wrapper[@]}" "$argv0" "${args[@]}"
        fi
        exec -a "$argv0" "$program" "${args[@]}"
    ) <"$stdin" 2>"$scratch/stderr"
}

if [ -f "$case_dir/stdout_filter" ]; then
    filter=$(<"$case_dir/stdout_filter")
    run_program | bash -c "$filter" >"$scratch/stdout"
    status=${PIPESTATUS[0]}
else
    run_program >"$scratch/stdout"
    status=$?
fi

expected_status=0
[ -f "$case_dir/expected_status" ] && expected_status=$(<"$case_dir/expected_status")

verdict=0
compare() {
    local stream=$1 expected=$case_dir/expected_$1
    [ -f "$expected" ] || expected=/dev/null
    if ! cmp -s "$expected" "$scratch/$stream"; then
        echo "FAIL: $stream differs from expected_$stream (first differences, expected <, actual >):"
        diff <(od -c "$expected") <(od -c "$scratch/$stream") | head -n 20
        verdict=1
    fi
}
compare stdout
compare stderr
if [ "$status" != "$expected_status" ]; then
    echo "FAIL: exit status $status, expected $expected_status"
    verdict=1
fi
exit $verdict
