# Finds the files of an end-to-end case (see run_case.sh for what they mean). Sourced by
# run_case.sh and tools/memcheck.sh, so that both read a case the same way. Results come back in
# variables rather than on standard output: a case takes a dozen look-ups, and neither a
# subshell nor an external command is spent on any of them.

# case_fixture CASE_DIR: sets fixture_dir to the folder of the fixture the case names, or to "".
case_fixture() {
    fixture_dir=
    if [ -f "$1/fixture" ]; then
        local name set_dir=${1%/*}
        read -r name <"$1/fixture"
        fixture_dir=${set_dir%/*}/fixtures/$name
    fi
}

# case_file PROGRAM CASE_DIR NAME: sets case_path to the file NAME that the case holds for the
# executable PROGRAM, or fails when it holds none. Searched in order: NAME.<PROGRAM's file name>
# and NAME in the case folder, then the same two in its fixture.
case_file() {
    local fixture_dir folder file
    case_fixture "$2"
    for folder in "$2" "$fixture_dir"; do
        [ -n "$folder" ] || continue
        for file in "$folder/$3.${1##*/}" "$folder/$3"; do
            if [ -f "$file" ]; then
                case_path=$file
                return 0
            fi
        done
    done
    return 1
}
