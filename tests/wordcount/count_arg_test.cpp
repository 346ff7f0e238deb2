#include "count_arg.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

namespace {

struct CountArgCase {
    const char* text;
    int32_t value;
};

TEST(CountArg, FollowsAtoiAndClampsBeyondTheIntRange) {
    const CountArgCase cases[] = {
        {"0", 0},
        {"3", 3},
        {"-4", -4},
        {"+7", 7},
        {" 5", 5},
        {"\t\n\v\f\r 12", 12},
        {"2x", 2},
        {"12 34", 12},
        {"007", 7},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"+-3", 0},
        {"- 3", 0},
        {"x5", 0},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-2147483649", INT32_MIN},
        {"99999999999999999999", INT32_MAX},
        {"-99999999999999999999", INT32_MIN},
        {"000000000000000000000000042", 42},
        {"\xA0"
         "5",
         0},  // bytes above 127 are not white space
        {"\x85"
         "5",
         0},
    };
    for (const CountArgCase& c : cases) {
        EXPECT_EQ(parse_count(c.text), c.value) << "text \"" << c.text << "\"";
    }
}

TEST(CountArg, AgreesWithAtoiInsideTheIntRange) {
    const char* texts[] = {"  -17xyz", "+0", "1e3", "0x1F", "  +2147483647", "-2147483647"};
    for (const char* text : texts) {
        EXPECT_EQ(parse_count(text), std::atoi(text)) << "text \"" << text << "\"";
    }
}

}  // namespace
