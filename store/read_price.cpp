#include "read_price.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <streambuf>
#include <string>

namespace {

using traits = std::char_traits<char>;

// The characters of a decimal number, taken one at a time for as long as they fit its form.
class DecimalRun {
  public:
    // Appends c and returns true when c can continue the number; returns false and leaves the
    // number as it was otherwise.
    bool take(char c) {
        const bool fits = is_digit(c) || (c == '.' && !seen_point_ && !seen_exponent_) ||
                          ((c == 'e' || c == 'E') && seen_digit_ && !seen_exponent_) ||
                          ((c == '+' || c == '-') && (text_.empty() || text_.back() == 'e'));
        if (!fits) {
            return false;
        }
        seen_digit_ = seen_digit_ || is_digit(c);
        seen_point_ = seen_point_ || c == '.';
        seen_exponent_ = seen_exponent_ || c == 'e' || c == 'E';
        text_ += c == 'E' ? 'e' : c;
        return true;
    }

    // The characters taken so far, the exponent mark as 'e'.
    const std::string& text() const { return text_; }

  private:
    static bool is_digit(char c) { return c >= '0' && c <= '9'; }

    std::string text_;
    bool seen_digit_ = false;
    bool seen_point_ = false;
    bool seen_exponent_ = false;
};

// Takes the characters of a decimal number from `source`, leaving the first one that does not
// fit unread. `at_end` tells whether the input ended first.
std::string take_decimal(std::streambuf& source, bool& at_end) {
    DecimalRun run;
    int c = source.sgetc();
    while (!traits::eq_int_type(c, traits::eof()) && run.take(traits::to_char_type(c))) {
        c = source.snextc();
    }
    at_end = traits::eq_int_type(c, traits::eof());
    return run.text();
}

// The float nearest to `text`; sets failbit in `state` when `text` is not a whole number or its
// value lies beyond the range of a float.
price_t to_price(const std::string& text, std::ios::iostate& state) {
    const char* const begin = text.c_str();
    char* end = nullptr;
    const float value = std::strtof(begin, &end);
    if (text.empty() || end != begin + text.size()) {
        state |= std::ios::failbit;
        return 0;
    }
    if (std::isinf(value)) {  // the text holds digits only, so infinity means overflow
        state |= std::ios::failbit;
        return std::copysign(std::numeric_limits<price_t>::max(), value);
    }
    return value;
}

}  // namespace

std::istream& read_price(std::istream& in, price_t& price) {
    const std::istream::sentry ready(in);  // skips white space; fails at the end of the input
    if (!ready) {
        return in;
    }
    std::ios::iostate state = std::ios::goodbit;
    try {
        bool at_end = false;
        const std::string text = take_decimal(*in.rdbuf(), at_end);
        price = to_price(text, state);
        if (at_end) {
            state |= std::ios::eofbit;
        }
    } catch (...) {
        // A stream buffer that cannot be read leaves the stream bad, as the library's own
        // extractions do; a stream that asks for exceptions on bad gets the original one.
        if (in.exceptions() & std::ios::badbit) {
            throw;
        }
        state |= std::ios::badbit;
    }
    in.setstate(state);
    return in;
}
