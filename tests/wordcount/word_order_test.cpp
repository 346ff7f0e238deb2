#include "word_order.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kLongest = 17;  // past the leading bytes and a second stretch of eight

// `size` bytes of 'm', cut down from a longer word so that the storage behind the terminator
// still holds 'z's: a comparison that read past the terminator would see them.
std::string plain_word(std::size_t size) {
    std::string w(kLongest + 1, 'z');
    w.replace(0, size, size, 'm');
    w.resize(size);
    return w;
}

// The plain word of every size from 0 to kLongest, and each of them with one byte lowered to
// 0 or raised to 255, at every position.
std::vector<std::string> words_differing_at_every_position() {
    std::vector<std::string> words;
    for (std::size_t size = 0; size <= kLongest; ++size) {
        words.push_back(plain_word(size));
        for (std::size_t at = 0; at < size; ++at) {
            for (const char byte : {'\0', '\xFF'}) {
                words.push_back(plain_word(size));
                words.back()[at] = byte;
            }
        }
    }
    return words;
}

int sign(int value) {
    return (value > 0) - (value < 0);
}

TEST(WordOrder, CompareWordsOrdersAsStringCompareDoes) {
    const std::vector<std::string> words = words_differing_at_every_position();
    for (const std::string& a : words) {
        const std::uint64_t a_leading = leading_bytes(a);
        for (const std::string& b : words) {
            ASSERT_EQ(sign(compare_words(a, a_leading, b)), sign(a.compare(b)))
                << testing::PrintToString(a) << " vs " << testing::PrintToString(b);
        }
    }
}

}  // namespace
