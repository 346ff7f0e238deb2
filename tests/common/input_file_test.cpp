#include "input_file.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "TempFile.h"

namespace {

using namespace std::string_literals;

// Contents around the edges of the line buffer (4096 bytes, one of them for fgets' NUL), with
// NUL characters where the length of a stored line could be mistaken, and with the CR LF pairs
// and Ctrl-Z bytes of Windows text, a pair also split by the edge of the buffer.
std::vector<std::string> contents() {
    return {
        "a\r\nb\r\n",
        "\r\r\n\r",
        "a\x1a\r\nb\x1a",
        std::string(4093, 'x') + "\r\n",
        std::string(4094, 'x') + "\r\n" + "y\r",
        std::string(4094, 'x') + "\ry",
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

// What a program reads of content: every byte, but on Windows each CR LF as one newline.
std::string as_read(const std::string& content) {
#ifdef _WIN32
    std::string read;
    for (std::size_t i = 0; i < content.size(); ++i) {
        if (content.compare(i, 2, "\r\n") != 0) {
            read += content[i];
        }
    }
    return read;
#else
    return content;
#endif
}

TEST(InputFile, CharacterWiseReadingYieldsEveryByteThenTheEnd) {
    for (const std::string& content : contents()) {
        const TempFile file(content);
        input_file in(file.path());
        const std::string read{std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(as_read(content), read) << content.size() << " bytes";
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
        EXPECT_EQ(as_read(content).substr(content.empty() ? 0 : 1), rest)
            << content.size() << " bytes";
        EXPECT_TRUE(in.eof());
        EXPECT_FALSE(in.bad());
    }
}

// Reads of a few characters each meet every edge between blocks, a CR LF pair split by one too.
TEST(InputFile, SmallBlockReadsYieldEveryByte) {
    for (const std::string& content : contents()) {
        for (const std::size_t block : {1, 2, 3}) {
            const TempFile file(content);
            input_file in(file.path());
            std::string read;
            for (std::string part(block, '?'); in.read(&part[0], part.size()) || in.gcount();) {
                read.append(part, 0, static_cast<std::size_t>(in.gcount()));
            }
            EXPECT_EQ(as_read(content), read) << content.size() << " bytes, blocks of " << block;
        }
    }
}

}  // namespace
