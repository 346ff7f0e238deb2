#ifndef STORE_READ_PRICE_H_
#define STORE_READ_PRICE_H_

#include <istream>

#include "product.h"

// Extracts a price from `in` the way GCC's standard library extracts a float, so that a products
// file loads alike whichever standard library the store is built with (LLVM's reads hexadecimal,
// "inf" and "nan", and refuses "0.5abc" that GCC's reads as 0.5 followed by "abc").
//
// White space is skipped; then the longest run of the form
//     [+-] digits-and-one-point [(e|E) [+-] digits]
// is taken, where the point may come before any digit and an exponent mark is taken only after a
// digit. The first character that does not fit stays unread. The run is converted to the nearest
// float. Failure sets failbit: a run that is not a number (empty, a lone sign or point, an
// exponent without digits) leaves `price` 0, and a value beyond the range of a float leaves it
// at the largest float of its sign. A value too small for a float rounds towards zero and is no
// failure. Reaching the end of the input sets eofbit, as any extraction does.
std::istream& read_price(std::istream& in, price_t& price);

#endif  // STORE_READ_PRICE_H_
