#!/usr/bin/env bash
# Runs one end-to-end case of a program and compares what it did, byte for byte, with the case's
# expectations. Usage: run_case.sh PROGRAM CASE_DIR
# PROGRAM is the path of the executable, absolute or relative to the current directory.
#
# A case is a folder; every file in it is optional:
#   files/            copied into the fresh working directory before the run
#   setup             bash script run in the working directory before the run (generated inputs)
#   args              the command-line arguments, one per line (an empty line is an empty argument)
#   argv0             the name the program is invoked by (default: the program's file name)
#   stdin             standard input (default: /dev/null)
#   stdin_path        a path, relative to the working directory, to redirect standard input from
#   stack_kib         the stack limit for the run, as for `ulimit -s`
#   address_space_kib the address-space limit for the run, as for `ulimit -v`; the case is
#                     skipped (exit status 77) when E2E_NO_ADDRESS_SPACE_LIMIT is set, for a
#                     build whose sanitizers need more address space than any such limit allows
#   stdout_filter     shell command that standard output is piped through before the comparison
#   stdout_path       a path to send standard output to instead of capturing it (such as
#                     /dev/full); standard output is then not compared
#   expected_stdout   expected standard output (default: empty)
#   expected_stderr   expected standard error (default: empty)
#   expected_status   expected exit status (default: 0)
#   fixture           the name of a folder of fixtures/, beside the folder of the case set, that
#                     holds files of the kinds above shared by several cases
#
# Every file but files/ and fixture may also be given for one program only, as FILE.PROGRAM with
# the file name of the executable under test, so that one case set serves two programs that
# differ in a few outputs. A file is looked for as FILE.PROGRAM, then FILE, in the case folder
# and then in its fixture; the fixture's files/ is copied before the case's own.
#
# E2E_WRAPPER, when set, is a command prefix split at blanks (such as "valgrind -q") that runs
# the program. The program still sees the case's argv0: the wrapper is handed that name, reached
# through a private PATH entry for a bare name, or through a symbolic link at that path in the
# working directory for a relative one. An absolute or empty argv0 cannot be arranged so and is
# refused.
set -u

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

[ $# -eq 2 ] || fail "usage: run_case.sh PROGRAM CASE_DIR"
program=$1
[[ $program == /* ]] || program=$PWD/$program
[ -f "$program" ] && [ -x "$program" ] || fail "no executable program at $1"
case_dir=$(cd "$2" && pwd) || fail "no case folder $2"
runner_dir=${BASH_SOURCE[0]%/*}
[ "$runner_dir" != "${BASH_SOURCE[0]}" ] || runner_dir=.
source "$runner_dir/case_file.sh"
scratch=$(mktemp -d)
trap 'chmod -R u+rwX "$scratch" 2>/dev/null; rm -rf "$scratch"' EXIT
work=$scratch/work
mkdir "$work"

# file_of NAME: sets file to the case's file NAME for this program; fails when there is none.
file_of() {
    case_file "$program" "$case_dir" "$1" && file=$case_path
}

case_fixture "$case_dir"
[ -z "$fixture_dir" ] || [ -d "$fixture_dir" ] || fail "no fixture folder $fixture_dir"
address_space_kib=
file_of address_space_kib && address_space_kib=$(<"$file")
if [ -n "$address_space_kib" ] && [ -n "${E2E_NO_ADDRESS_SPACE_LIMIT:-}" ]; then
    echo "SKIP: this build cannot run within an address-space limit"
    exit 77
fi
for folder in "$fixture_dir" "$case_dir"; do
    if [ -n "$folder" ] && [ -d "$folder/files" ]; then
        cp -R "$folder/files/." "$work/"
    fi
done
cd "$work" || fail "cannot enter $work"
if file_of setup; then
    bash "$file" || fail "setup script failed"
fi

args=()
if file_of args; then
    mapfile -t args <"$file"
fi
argv0=${program##*/}
file_of argv0 && argv0=$(<"$file")
stdin=/dev/null
file_of stdin && stdin=$file
file_of stdin_path && stdin=$(<"$file")
stack_kib=
file_of stack_kib && stack_kib=$(<"$file")

wrapper=() wrapper_bin=
if [ -n "${E2E_WRAPPER:-}" ]; then
    read -r -a wrapper <<<"$E2E_WRAPPER"
    case $argv0 in
    "") fail "an empty argv0 cannot be given to the program through E2E_WRAPPER" ;;
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
        if [ -n "$address_space_kib" ]; then
            ulimit -v "$address_space_kib" || exit 125
        fi
        if [ ${#wrapper[@]} -gt 0 ]; then
            [ -n "$wrapper_bin" ] && PATH=$wrapper_bin:$PATH
            exec "${wrapper[@]}" "$argv0" "${args[@]}"
        fi
        exec -a "$argv0" "$program" "${args[@]}"
    ) <"$stdin" 2>"$scratch/stderr"
}

compared_streams=(stdout stderr)
if file_of stdout_path; then
    run_program >"$(<"$file")"
    status=$?
    compared_streams=(stderr)
elif file_of stdout_filter; then
    filter=$(<"$file")
    run_program | bash -c "$filter" >"$scratch/stdout"
    status=${PIPESTATUS[0]}
else
    run_program >"$scratch/stdout"
    status=$?
fi

expected_status=0
file_of expected_status && expected_status=$(<"$file")

# Shown of a difference at most; the rest is counted.
difference_lines=40

# show_difference EXPECTED ACTUAL: the lines that differ, as diff -u shows them, in the notation
# of cat -A, which writes control characters as ^X, bytes above 127 as M-x and every line end as
# a $, so that blanks at a line's end and a missing last line end show as well.
show_difference() {
    local difference=$scratch/difference lines
    diff -u --label expected --label actual <(cat -A "$1") <(cat -A "$2") >"$difference"
    head -n "$difference_lines" "$difference"
    lines=$(wc -l <"$difference")
    if [ "$lines" -gt "$difference_lines" ]; then
        echo "[$((lines - difference_lines)) more lines of difference]"
    fi
}

verdict=0
compare() {
    local stream=$1 expected=/dev/null
    file_of "expected_$stream" && expected=$file
    if ! cmp -s "$expected" "$scratch/$stream"; then
        echo "FAIL: $stream differs from $expected:"
        show_difference "$expected" "$scratch/$stream"
        verdict=1
    fi
}
for stream in "${compared_streams[@]}"; do
    compare "$stream"
done
if [ "$status" != "$expected_status" ]; then
    echo "FAIL: exit status $status, expected $expected_status"
    verdict=1
fi
exit $verdict
