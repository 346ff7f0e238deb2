#ifndef WORDCOUNT_WORD_SCANNER_H_
#define WORDCOUNT_WORD_SCANNER_H_

#include <istream>
#include <string>
#include <vector>

// Splits a stream into the words that extracting strings from it would yield: maximal runs of
// bytes other than space, \t, \n, \v, \f and \r. The stream is read in large blocks through
// istream::read, so a read error sets its badbit just as a failed extraction would; once the
// stream fails, no further words are produced.
class word_scanner {
  public:
    // Scans `in` from its current position. REQUIRES: `in` outlives the scanner.
    explicit word_scanner(std::istream& in);
    word_scanner(const word_scanner&) = delete;
    word_scanner& operator=(const word_scanner&) = delete;

    // Replaces `word` by the next word and returns true; returns false when the stream holds no
    // further word or cannot be read.
    bool next(std::string& word);

  private:
    // Reads the next block; false when nothing more could be read.
    bool refill();

    std::istream& in_;
    std::vector<char> block_;
    const char* pos_ = nullptr;  // next byte to scan in block_
    const char* end_ = nullptr;  // end of the bytes read into block_
};

#endif  // WORDCOUNT_WORD_SCANNER_H_
