#include "word_scanner.h"

#include <cstddef>

namespace {

constexpr std::size_t kBlockBytes = 64 * 1024;

// The white space of string extraction in the default locale: space and \t \n \v \f \r.
bool is_space(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

word_scanner::word_scanner(std::istream& in) : in_(in), block_(kBlockBytes) {}

bool word_scanner::next(std::string& word) {
    word.clear();
    for (;;) {
        while (pos_ != end_ && is_space(*pos_)) {
            ++pos_;
        }
        if (pos_ != end_) {
            break;
        }
        if (!refill()) {
            return false;
        }
    }
    // A word may run on across the end of the block.
    for (;;) {
        const char* start = pos_;
        while (pos_ != end_ && !is_space(*pos_)) {
            ++pos_;
        }
        word.append(start, static_cast<std::size_t>(pos_ - start));
        if (pos_ != end_ || !refill()) {
            return true;
        }
    }
}

bool word_scanner::refill() {
    in_.read(block_.data(), static_cast<std::streamsize>(block_.size()));
    pos_ = block_.data();
    end_ = pos_ + in_.gcount();
    return pos_ != end_;
}
