#ifndef TESTS_FUZZ_FUZZINPUT_H_
#define TESTS_FUZZ_FUZZINPUT_H_

#include <cstddef>
#include <cstdint>
#include <string>

// Decodes the fuzzer's bytes into small choices, one byte per choice. Reading past the end
// yields zeros, so every byte string is a valid input and a seed can be written by hand: a
// choice among n options is the next byte modulo n.
class FuzzInput {
  public:
    FuzzInput(const uint8_t* data, size_t size) : next_(data), end_(data + size) {}

    FuzzInput(const FuzzInput&) = delete;
    FuzzInput& operator=(const FuzzInput&) = delete;

    // True while bytes remain to be decoded.
    bool more() const { return next_ != end_; }

    // The next byte, or 0 once the input is used up.
    uint8_t byte() { return more() ? *next_++ : 0; }

    // A value from 0 to n - 1. REQUIRES: 0 < n <= 256.
    int below(int n) { return byte() % n; }

    // A word of 0 to max_length characters drawn from alphabet: one byte for the length, then
    // one per character. Short words from a small alphabet make equal words common.
    // REQUIRES: alphabet is not empty; max_length < 256.
    std::string word(const std::string& alphabet, int max_length) {
        std::string result(below(max_length + 1), ' ');
        for (char& c : result) {
            c = alphabet[below(static_cast<int>(alphabet.size()))];
        }
        return result;
    }

  private:
    const uint8_t* next_;
    const uint8_t* end_;
};

#endif  // TESTS_FUZZ_FUZZINPUT_H_
