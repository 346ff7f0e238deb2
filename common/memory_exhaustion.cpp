#include "memory_exhaustion.h"

#include <cstdio>
#include <cstdlib>

namespace {

// C stdio writes the message without allocating and whatever state std::cerr is in.
// std::exit flushes standard output, so that what the program wrote before stays written.
[[noreturn]] void report_exhaustion() {
    std::fputs("memory exhausted\n", stderr);
    std::exit(1);
}

}  // namespace

void exit_on_memory_exhaustion() {
    std::set_new_handler(report_exhaustion);
}
