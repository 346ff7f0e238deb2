#ifndef WORDCOUNT_NORMALIZE_H_
#define WORDCOUNT_NORMALIZE_H_

#include <string>

// The key a word read from the text is counted under is lower(strip_punct(word)). Characters are
// classified by their unsigned byte value in the default locale, so bytes 128 to 255 are neither
// punctuation nor capitals and pass both functions unchanged.

// Returns `word` without its last character if that character is ASCII punctuation, otherwise
// `word` unchanged. An empty word comes back empty.
std::string strip_punct(std::string word);

// Returns `word` with the capitals A to Z replaced by their small letters; same length.
std::string lower(std::string word);

#endif  // WORDCOUNT_NORMALIZE_H_
