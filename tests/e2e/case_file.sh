# Finds the files of an end-to-end case (see run_case.sh for what they mean). Sourced by
# run_case.sh and tools/memcheck.sh, so that both read a case the same way.

# case_fixture CASE_DIR: prints the folder of the fixture the case names, or nothing.
case_fixture() {
    if [ -f "$1/fixture" ]; then
        echo "$(dirname "$(dirname "$1")")/fixtures/$(<"$1/fixture")"
    fi
}

# case_file PROGRAM CASE_DIR NAME: prints the path of the file NAME that the case holds for the
# executable PROGRAM, or fails when it holds none. Searched in order: NAME.<PROGRAM's file name>
# and NAME in the case folder, then the same two in its fixture.
case_file() {
    local program_name folder file
    program_name=$(basename "$1")
    for folder in "$2" "$(case_fixture "$2")"; do
        [ -n "$folder" ] || continue
        for file in "$folder/$3.$program_name" "$folder/$3"; do
            if [ -f "$file" ]; then
                echo "$file"
                return 0
            fi
        done
    done
    return 1
}
