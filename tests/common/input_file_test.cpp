#include "input_file.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "TempFile.h"

namespace {

using namespace std::string_literals;

// Contents around the edges of the line buffer (4096 bytes, one of them for fgets' NUL) and with
// NUL characters where the length of a stored line could be mistaken.
std::vector<std::string> contents() {
    return {
        "",
        "a",
        "a\n",
        "\n\n\n",
        "a\0b\nc"s,
        "ab\0"s,
        "\0\n\0"s,
        "\0"s,
        std::string(4093, 'x') + "\0\n"s + "y",
        std::string(4094, 'x') + "\n" + "y",
        std::string(4095, 'x') + "\n" + "y",
        std::string(4093, 'x'),
        std::string(4094, 'x'),
        std::string(4095, 'x'),
        std::string(4096, 'x'),
        std::string(10000, '\0') + "\n" + std::string(5000, 'x') + "\n",
    };
}

TEST(InputFile, CharacterWiseReadingYieldsEveryByteThenTheEnd) {
    for (const std::string& content : contents()) {
        const TempFile file(content);
        input_file in(file.path());
        const std::string read{std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(content, read) << content.size() << " bytes";
        in.peek();
        EXPECT_TRUE(in.eof());
        EXPECT_FALSE(in.bad());
    }
}

// A block read hands on the rest of the line held in the buffer before it reads on.
TEST(InputFile, BlockReadAfterACharacterYieldsTheRest) {
    for (const std::string& content : contents()) {
        const TempFile file(content);
        input_file in(file.path());
        in.get();
        in.clear();
        std::string rest(content.size() + 1, '?');
        in.read(&rest[0], static_cast<std::streamsize>(rest.size()));
        rest.resize(static_cast<std::size_t>(in.gcount()));
        EXPECT_EQ(content.substr(content.empty() ? 0 : 1), rest) << content.size() << " bytes";
        EXPECT_TRUE(in.eof());
        EXPECT_FALSE(in.bad());
    }
}

}  // namespace
