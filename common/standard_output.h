#ifndef COMMON_STANDARD_OUTPUT_H_
#define COMMON_STANDARD_OUTPUT_H_

#include <iostream>

// A program's output is not done until it is written. A write to standard output that fails
// (a full disk, a closed descriptor) leaves std::cout bad, and everything written after it is
// lost; these helpers let a program notice that, say so and fail instead of reporting success.

// True once a write or flush of std::cout has failed.
inline bool standard_output_lost() {
    return !std::cout;
}

// Writes "write error on standard output" on standard error; returns the exit status 1.
inline int report_write_error() {
    std::cerr << "write error on standard output" << std::endl;
    return 1;
}

// Flushes std::cout at the end of a successful run. Returns 0 when everything written to it
// has reached its destination, otherwise reports the write error and returns 1.
inline int finish_standard_output() {
    std::cout.flush();
    return standard_output_lost() ? report_write_error() : 0;
}

#endif  // COMMON_STANDARD_OUTPUT_H_
