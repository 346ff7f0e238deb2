#include "normalize.h"

// The programs never set a locale, so the default-locale classes are the ASCII ranges below;
// testing them by hand keeps the hot loop free of library calls and of any sign extension.

namespace {

bool is_punctuation(unsigned char c) {
    return (c >= '!' && c <= '/') || (c >= ':' && c <= '@') || (c >= '[' && c <= '`') ||
           (c >= '{' && c <= '~');
}

char lower_case_of(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string strip_punct(std::string word) {
    if (!word.empty() && is_punctuation(static_cast<unsigned char>(word.back()))) {
        word.pop_back();
    }
    return word;
}

std::string lower(std::string word) {
    for (char& c : word) {
        c = lower_case_of(c);
    }
    return word;
}
