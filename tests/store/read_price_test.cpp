#include "read_price.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>

namespace {

constexpr float kLargest = std::numeric_limits<float>::max();
constexpr float kUntouched = 12345;

// What extracting one price from a text leaves: the price, the stream's fail and eof bits, and
// the text still unread.
struct Extraction {
    float price;
    bool fail;
    bool eof;
    std::string rest;
};

Extraction extract(const std::string& text) {
    std::istringstream in(text);
    float price = kUntouched;
    read_price(in, price);
    Extraction result{price, in.fail(), in.eof(), ""};
    in.clear();
    std::getline(in, result.rest, '\0');
    return result;
}

TEST(ReadPriceTest, ReadsTheDecimalFormOnly) {
    const struct {
        const char* text;
        Extraction expected;
    } cases[] = {
        // Signs, points and exponents.
        {"1.25", {1.25f, false, true, ""}},
        {"  3\n", {3, false, false, "\n"}},
        {"+.5", {0.5f, false, true, ""}},
        {"-2", {-2, false, true, ""}},
        {"1.", {1, false, true, ""}},
        {"00012", {12, false, true, ""}},
        {"5E2 kiwi", {500, false, false, " kiwi"}},
        {".5e-1", {0.05f, false, true, ""}},
        // The longest decimal run is taken; what follows stays for the next extraction.
        {"0.5abc", {0.5f, false, false, "abc"}},
        {"1.2.3", {1.2f, false, false, ".3"}},
        {"1e5e3", {1e5f, false, false, "e3"}},
        {"5e+2x", {500, false, false, "x"}},
        {"1,5", {1, false, false, ",5"}},
        {"0x10", {0, false, false, "x10"}},
        // No number: nothing but a sign, a point or a mark, or no digit at all.
        {"inf", {0, true, false, "inf"}},
        {"nan", {0, true, false, "nan"}},
        {"e5", {0, true, false, "e5"}},
        {".e1", {0, true, false, "e1"}},
        {"+-1", {0, true, false, "-1"}},
        {"-", {0, true, true, ""}},
        {"1e", {0, true, true, ""}},
        {"1e+x", {0, true, false, "x"}},
        {"", {kUntouched, true, true, ""}},
        {" \t\n", {kUntouched, true, true, ""}},
        // Beyond the range of a float, and too small for one.
        {"3.4028235e38", {kLargest, false, true, ""}},
        {"1e39", {kLargest, true, true, ""}},
        {"-1e39", {-kLargest, true, true, ""}},
        {"99999999999999999999999999999999999999999", {kLargest, true, true, ""}},
        {"1e-50", {0, false, true, ""}},
        {"1e-4294967296", {0, false, true, ""}},
        {"1e-40", {1e-40f, false, true, ""}},
    };
    for (const auto& c : cases) {
        const Extraction actual = extract(c.text);
        EXPECT_EQ(actual.price, c.expected.price) << '"' << c.text << '"';
        EXPECT_EQ(actual.fail, c.expected.fail) << '"' << c.text << '"';
        EXPECT_EQ(actual.eof, c.expected.eof) << '"' << c.text << '"';
        EXPECT_EQ(actual.rest, c.expected.rest) << '"' << c.text << '"';
    }
}

}  // namespace
