#ifndef COMMON_PROGRAM_NAME_H_
#define COMMON_PROGRAM_NAME_H_

// The name a program was invoked by, for its usage line: argv[0], or `own_name` when the
// program was started without one or with an empty one, so that the line never starts with a
// blank. REQUIRES: argv holds argc entries; `own_name` is not empty.
inline const char* invoked_name(int argc, char* const argv[], const char* own_name) {
    return argc > 0 && argv[0][0] != '\0' ? argv[0] : own_name;
}

#endif  // COMMON_PROGRAM_NAME_H_
