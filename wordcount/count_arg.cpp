#include "count_arg.h"

#include <cctype>
#include <limits>

namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

int32_t parse_count(const char* text) {
    while (std::isspace(static_cast<unsigned char>(*text))) {
        ++text;
    }
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') {
        ++text;
    }
    // Accumulating towards the sign's own bound keeps INT32_MIN representable and lets the
    // clamp happen before anything overflows.
    const int64_t bound = negative ? -int64_t{std::numeric_limits<int32_t>::min()}
                                   : int64_t{std::numeric_limits<int32_t>::max()};
    int64_t magnitude = 0;
    for (; is_digit(*text); ++text) {
        magnitude = magnitude * 10 + (*text - '0');
        if (magnitude > bound) {
            magnitude = bound;
        }
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}
