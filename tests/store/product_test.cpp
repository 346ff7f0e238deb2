#include "product.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

TEST(ProductTest, PrintsNameAndPriceWithTwoDecimals) {
    const struct {
        const char* name;
        price_t price;
        const char* printed;
    } cases[] = {
        {"apple", 0.5f, "apple @ $0.50ea"}, {"tv", 1200.0f, "tv @ $1200.00ea"},
        {"pear", 1.25f, "pear @ $1.25ea"},  {"gum", 2.999f, "gum @ $3.00ea"},
        {"pin", 0.004f, "pin @ $0.00ea"},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        out << product(c.name, c.price);
        EXPECT_EQ(out.str(), c.printed);
    }
}

TEST(ProductTest, PrintingKeepsTheStreamsNotationAndPrecision) {
    std::ostringstream plain;
    plain << product("apple", 0.5f) << ' ' << 0.5 << ' ' << 1.0 / 3;
    EXPECT_EQ(plain.str(), "apple @ $0.50ea 0.5 0.333333");

    std::ostringstream scientific;
    scientific.setf(std::ios::scientific, std::ios::floatfield);
    scientific.precision(3);
    scientific << product("apple", 0.5f) << ' ' << 1.5;
    EXPECT_EQ(scientific.str(), "apple @ $0.50ea 1.500e+00");
}

TEST(ProductTest, ComparesNamesExactly) {
    const product apple("apple", 0.5f);
    EXPECT_TRUE(apple == std::string("apple"));
    EXPECT_FALSE(apple != std::string("apple"));
    for (const char* other : {"Apple", "apples", "appl", "", "apple "}) {
        EXPECT_FALSE(apple == std::string(other)) << other;
        EXPECT_TRUE(apple != std::string(other)) << other;
    }
    EXPECT_TRUE(apple == product("apple", 0.5f));
    EXPECT_FALSE(apple == product("Apple", 0.75f));
}

TEST(ProductDeathTest, RejectsPriceThatIsNotPositive) {
    EXPECT_DEATH(product("free", 0.0f), "price > static_cast<price_t>\\(0\\)");
    EXPECT_DEATH(product("debt", -1.0f), "price > static_cast<price_t>\\(0\\)");
}

TEST(ProductDeathTest, RejectsEqualNamesWithDifferentPrices) {
    const product cheap("apple", 0.5f);
    const product dear("apple", 0.75f);
    EXPECT_DEATH((void)(cheap == dear), "p\\.price == price");
}

}  // namespace
