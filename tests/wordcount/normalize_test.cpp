#include "normalize.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct NormalizeCase {
    std::string word;
    std::string stripped;
    std::string lowered;
};

TEST(Normalize, StripsOneTrailingPunctuationThenLowersCapitals) {
    const NormalizeCase cases[] = {
        {"Hello,", "Hello", "hello"},
        {"(Yes)", "(Yes", "(yes"},
        {"Wait...", "Wait..", "wait.."},
        {"U.S.A.", "U.S.A", "u.s.a"},
        {"don't", "don't", "don't"},
        {"42%", "42", "42"},
        {"ALL-CAPS!", "ALL-CAPS", "all-caps"},
        {"--", "-", "-"},
        {"-", "", ""},
        {"plain", "plain", "plain"},
        {"MiXeD9", "MiXeD9", "mixed9"},
        {"", "", ""},
        {"caf\xC3\xA9", "caf\xC3\xA9", "caf\xC3\xA9"},
        {"\xC3\x89T\xC3\x89!", "\xC3\x89T\xC3\x89", "\xC3\x89t\xC3\x89"},
        {"!!A", "!!A", "!!a"},
        {"A!?", "A!", "a!"},
        {std::string("A\0", 2), std::string("A\0", 2), std::string("a\0", 2)},
    };
    for (const NormalizeCase& c : cases) {
        const std::string stripped = strip_punct(c.word);
        EXPECT_EQ(stripped, c.stripped) << "strip_punct(\"" << c.word << "\")";
        EXPECT_EQ(lower(stripped), c.lowered) << "lower(\"" << stripped << "\")";
    }
}

bool is_ascii_punctuation(int byte) {
    return (byte >= 33 && byte <= 47) || (byte >= 58 && byte <= 64) || (byte >= 91 && byte <= 96) ||
           (byte >= 123 && byte <= 126);
}

TEST(Normalize, StripPunctRemovesExactlyTheAsciiPunctuationBytes) {
    for (int byte = 0; byte <= 255; ++byte) {
        const std::string word = std::string("x") + static_cast<char>(byte);
        const std::string expected = is_ascii_punctuation(byte) ? "x" : word;
        EXPECT_EQ(strip_punct(word), expected) << "last byte " << byte;
    }
}

TEST(Normalize, LowerChangesOnlyTheAsciiCapitals) {
    for (int byte = 0; byte <= 255; ++byte) {
        const std::string word(2, static_cast<char>(byte));
        const int expected = byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte;
        EXPECT_EQ(lower(word), std::string(2, static_cast<char>(expected))) << "byte " << byte;
    }
}

}  // namespace
