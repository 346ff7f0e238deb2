#include "ShoppingCart.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

const int kMaxInt = std::numeric_limits<int>::max();
const product apple("apple", 0.5f);
const product pear("pear", 1.25f);
const product fig("fig", 2.0f);

std::string printed(const ShoppingCart& cart) {
    std::ostringstream out;
    out << cart;
    return out.str();
}

// The cart's order lines as printed, between the heading and the total.
std::string order_lines(const ShoppingCart& cart) {
    const std::string text = printed(cart);
    if (text.empty()) {
        return "";
    }
    const std::size_t begin = text.find('\n', text.find("Shopping Cart for")) + 1;
    return text.substr(begin, text.find("\n\nTotal:") - begin);
}

TEST(OrderTest, CostsQuantityTimesPriceAndIgnoresQuantityInEquality) {
    order pears(pear, 3);
    EXPECT_EQ(pears.cost(), 3.75f);
    pears += 2;
    EXPECT_EQ(pears.quantity, 5);
    EXPECT_EQ(&pears.item, &pear);
    EXPECT_TRUE(pears == order(pear, 1));
    EXPECT_FALSE(pears != order(pear, -4));
    EXPECT_TRUE(pears != order(apple, 5));
}

TEST(OrderTest, PrintsQuantityRightAlignedInFiveColumns) {
    const struct {
        int quantity;
        const char* printed;
    } cases[] = {
        {7, "    7 X apple @ $0.50ea"},     {10, "   10 X apple @ $0.50ea"},
        {12345, "12345 X apple @ $0.50ea"}, {123456, "123456 X apple @ $0.50ea"},
        {-3, "   -3 X apple @ $0.50ea"},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        out << order(apple, c.quantity);
        EXPECT_EQ(out.str(), c.printed);
    }
}

TEST(OrderTest, PrintingKeepsTheStreamsAdjustmentAndFill) {
    std::ostringstream out;
    out.setf(std::ios::left, std::ios::adjustfield);
    out.fill('*');
    out << order(apple, 7) << '|';
    out.width(3);
    out << 1 << '|' << 0.25;
    EXPECT_EQ(out.str(), "    7 X apple @ $0.50ea|1**|0.25");
}

struct Step {
    const product& item;
    int quantity;
    bool accepted;
};

TEST(ShoppingCartTest, AddToCartBuysReturnsAndRefuses) {
    const struct {
        const char* what;
        std::vector<Step> steps;
        const char* orders;
    } cases[] = {
        {"buy appends",
         {{apple, 3, true}, {pear, 1, true}},
         "    3 X apple @ $0.50ea\n    1 X pear @ $1.25ea"},
        {"buy again raises in place",
         {{apple, 3, true}, {pear, 1, true}, {apple, 2, true}},
         "    5 X apple @ $0.50ea\n    1 X pear @ $1.25ea"},
        {"partial return",
         {{apple, 5, true}, {pear, 1, true}, {apple, -2, true}},
         "    3 X apple @ $0.50ea\n    1 X pear @ $1.25ea"},
        {"full return removes, buying again appends",
         {{apple, 5, true}, {pear, 1, true}, {apple, -5, true}, {apple, 1, true}},
         "    1 X pear @ $1.25ea\n    1 X apple @ $0.50ea"},
        {"removes from the middle and the end",
         {{apple, 1, true}, {pear, 1, true}, {fig, 1, true}, {pear, -1, true}, {fig, -1, true}},
         "    1 X apple @ $0.50ea"},
        {"last order removed leaves the cart empty", {{fig, 2, true}, {fig, -2, true}}, ""},
        {"return of more than held",
         {{apple, 5, true}, {apple, -6, false}},
         "    5 X apple @ $0.50ea"},
        {"return of a product not held",
         {{apple, 1, true}, {pear, -1, false}},
         "    1 X apple @ $0.50ea"},
        {"return to an empty cart", {{pear, -1, false}}, ""},
        {"zero of a product not held", {{apple, 0, false}}, ""},
        {"zero of a product held", {{apple, 2, true}, {apple, 0, true}}, "    2 X apple @ $0.50ea"},
        {"purchase beyond the largest int",
         {{apple, kMaxInt, true}, {apple, 1, false}, {apple, kMaxInt, false}, {apple, -1, true}},
         "2147483646 X apple @ $0.50ea"},
        {"purchase up to the largest int",
         {{apple, kMaxInt - 1, true}, {apple, 1, true}},
         "2147483647 X apple @ $0.50ea"},
    };
    for (const auto& c : cases) {
        ShoppingCart cart("alice");
        for (const Step& step : c.steps) {
            EXPECT_EQ(cart.add_to_cart(order(step.item, step.quantity)), step.accepted) << c.what;
        }
        EXPECT_EQ(order_lines(cart), c.orders) << c.what;
        EXPECT_EQ(cart.empty(), std::string(c.orders).empty()) << c.what;
    }
}

TEST(ShoppingCartTest, FindLeadsToTheOrderOrToTheEndOfTheList) {
    ShoppingCart cart("alice");
    EXPECT_EQ(cart.find(order(apple, 1)), nullptr);
    cart.add_to_cart(order(apple, 1));
    cart.add_to_cart(order(pear, 2));
    cart.add_to_cart(order(fig, 3));
    EXPECT_EQ(cart.find(order(apple, 9))->data.quantity, 1);
    EXPECT_EQ(cart.find(order(pear, 9))->data.quantity, 2);
    EXPECT_EQ(cart.find(order(fig, 9))->data.quantity, 3);
    EXPECT_EQ(cart.find(order(product("kiwi", 1.0f), 1)), nullptr);
    EXPECT_EQ(&cart.find(order(fig, 9)), &cart.find(order(pear, 9))->next);
}

TEST(ShoppingCartTest, PrintsHeadingOrdersAndTotal) {
    ShoppingCart cart("alice");
    EXPECT_EQ(printed(cart), "");
    cart.add_to_cart(order(apple, 2));
    const std::string separator(47, '-');
    EXPECT_EQ(printed(cart), separator + "\nShopping Cart for alice\n    2 X apple @ $0.50ea\n\n" +
                                 "Total:  $1.00\n" + separator + "\n");
    cart.add_to_cart(order(pear, 10));
    EXPECT_EQ(printed(cart), separator +
                                 "\nShopping Cart for alice\n    2 X apple @ $0.50ea\n"
                                 "   10 X pear @ $1.25ea\n\nTotal:  $13.50\n" +
                                 separator + "\n");
}

TEST(ShoppingCartTest, PrintingKeepsTheStreamsFormat) {
    ShoppingCart cart("bob");
    cart.add_to_cart(order(pear, 3));
    std::ostringstream out;
    out.setf(std::ios::scientific, std::ios::floatfield);
    out.precision(3);
    out << cart << 1.5;
    EXPECT_EQ(out.str().substr(out.str().size() - 9), "1.500e+00");
    EXPECT_NE(out.str().find("Total:  $3.75\n"), std::string::npos);
}

TEST(ShoppingCartTest, CopyHoldsItsOwnOrders) {
    ShoppingCart original("carol");
    original.add_to_cart(order(apple, 4));
    const ShoppingCart copy(original);
    original.add_to_cart(order(apple, -4));
    EXPECT_EQ(copy.customer, "carol");
    EXPECT_TRUE(original.empty());
    EXPECT_EQ(order_lines(copy), "    4 X apple @ $0.50ea");
}

}  // namespace
