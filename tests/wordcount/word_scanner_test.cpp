#include "word_scanner.h"

#include <gtest/gtest.h>

#include <ios>
#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <vector>

namespace {

std::vector<std::string> scanned(const std::string& text) {
    std::istringstream in(text);
    word_scanner scanner(in);
    std::vector<std::string> words;
    for (std::string word; scanner.next(word);) {
        words.push_back(word);
    }
    return words;
}

std::vector<std::string> extracted(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

TEST(WordTreeInput, SplitsTextAsStringExtractionDoes) {
    const std::string long_word(200000, 'x');
    const std::string texts[] = {
        "",
        " \t\r\n\v\f ",
        "one",
        "  one two\tthree\nfour\r\nfive\vsix\fseven  ",
        "The cat. the CAT, the cat!\r\n",
        "no final newline",
        std::string("nul\0inside \0 x", 14),
        "caf\xC3\xA9 \xA0 \x85 \xFF\xFE",
        std::string(65535, ' ') + "straddles the block edge",
        std::string(65536 - 3, 'a') + " " + long_word + "\n" + long_word,
    };
    for (const std::string& text : texts) {
        EXPECT_EQ(scanned(text), extracted(text)) << "text of " << text.size() << " bytes";
    }
}

TEST(WordTreeInput, TreatsEveryByteAsExtractionDoes) {
    // Each byte at each place of a word that spans more than eight bytes, amid low and high bytes.
    for (int byte = 0; byte <= 255; ++byte) {
        for (char filler : {'a', '\xFF'}) {
            for (std::size_t place = 0; place < 10; ++place) {
                std::string text(10, filler);
                text[place] = static_cast<char>(byte);
                EXPECT_EQ(scanned(text), extracted(text))
                    << "byte " << byte << " at " << place << " amid " << int{filler};
            }
        }
    }
}

TEST(WordTreeInput, ReplacesThePreviousWordAndEndsCleanly) {
    std::istringstream in("longer x");
    word_scanner scanner(in);
    std::string word = "leftover";
    ASSERT_TRUE(scanner.next(word));
    EXPECT_EQ(word, "longer");
    ASSERT_TRUE(scanner.next(word));
    EXPECT_EQ(word, "x");
    EXPECT_FALSE(scanner.next(word));
    EXPECT_FALSE(scanner.next(word));
    EXPECT_FALSE(in.bad());
}

// Serves `text` and then fails the way a file does when reading it goes wrong.
class FailingBuf : public std::streambuf {
  public:
    explicit FailingBuf(std::string text) : text_(std::move(text)) {
        setg(text_.data(), text_.data(), text_.data() + text_.size());
    }

  protected:
    int_type underflow() override { throw std::ios_base::failure("read error"); }

  private:
    std::string text_;
};

TEST(WordTreeInput, StopsAndLeavesTheStreamBadAtAReadError) {
    for (std::size_t served : {std::size_t{0}, std::size_t{10}, std::size_t{100000}}) {
        FailingBuf buf(std::string(served, 'w'));
        std::istream in(&buf);
        word_scanner scanner(in);
        std::string word;
        int words = 0;
        while (scanner.next(word)) {
            ++words;
        }
        EXPECT_TRUE(in.bad()) << served << " bytes served";
        EXPECT_LE(words, 1) << served << " bytes served";
    }
}

}  // namespace
