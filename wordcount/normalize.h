#ifndef WORDCOUNT_NORMALIZE_H_
#define WORDCOUNT_NORMALIZE_H_

#include <string>

// The key a word read from the text is counted under is lower(strip_punct(word)). Characters are
// classified by their unsigned byte value in the default locale, so bytes 128 to 255 are neither
// punctuation nor capitals and pass both functions unchanged.
//
// Both are defined here, inline, so that a word moved through both and back into the caller's
// string costs no more than the work on its last byte and its letters: compiled apart, the moves
// in and out of each call cost word_count_solution 5% of its instructions.

namespace normalize_internal {

// The programs never set a locale, so the default-locale classes are the ASCII ranges below;
// testing them by hand keeps the hot loop free of library calls and of any sign extension.

inline bool is_punctuation(unsigned char c) {
    return (c >= '!' && c <= '/') || (c >= ':' && c <= '@') || (c >= '[' && c <= '`') ||
           (c >= '{' && c <= '~');
}

inline char lower_case_of(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace normalize_internal

// Returns `word` without its last character if that character is ASCII punctuation, otherwise
// `word` unchanged. An empty word comes back empty.
inline std::string strip_punct(std::string word) {
    if (!word.empty() &&
        normalize_internal::is_punctuation(static_cast<unsigned char>(word.back()))) {
        word.pop_back();
    }
    return word;
}

// Returns `word` with the capitals A to Z replaced by their small letters; same length.
inline std::string lower(std::string word) {
    for (char& c : word) {
        c = normalize_internal::lower_case_of(c);
    }
    return word;
}

#endif  // WORDCOUNT_NORMALIZE_H_
