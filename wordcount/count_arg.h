#ifndef WORDCOUNT_COUNT_ARG_H_
#define WORDCOUNT_COUNT_ARG_H_

#include <cstdint>

// Converts the count argument of the command line the way atoi does: leading white space,
// an optional sign, then the decimal digits up to the first other character; 0 when no digit
// follows. A value beyond the range of int32_t clamps to the nearer bound instead of being
// undefined. REQUIRES: `text` is a null-terminated string.
int32_t parse_count(const char* text);

#endif  // WORDCOUNT_COUNT_ARG_H_
