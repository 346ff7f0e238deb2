#include "Store.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "StreamCapture.h"
#include "TempFile.h"

namespace {

const std::string kSeparator(47, '-');
const std::string kAlice = kSeparator + "\nShopping Cart for alice\n    2 X apple @ $0.50ea\n\n" +
                           "Total:  $1.00\n" + kSeparator + "\n";
const std::string kBob = kSeparator + "\nShopping Cart for bob\n    1 X pear @ $1.25ea\n\n" +
                         "Total:  $1.25\n" + kSeparator + "\n";
const std::string kHeading = "These are the carts that weren't checked out.\n\n\n";
const std::string kThanks = "\n\nThanks for shopping with us!\n";

// A store selling apple at 0.50 and pear at 1.25.
class StoreTest : public testing::Test {
  protected:
    // Hands each transaction, "customer command" or "customer command quantity product", to the
    // store's matching process_cart.
    void run(const std::vector<std::string>& transactions) {
        for (const std::string& transaction : transactions) {
            std::istringstream words(transaction);
            std::string customer, command, product_name;
            int quantity = 0;
            words >> customer >> command;
            if (words >> quantity >> product_name) {
                store.process_cart(customer, command, quantity, product_name);
            } else {
                store.process_cart(customer, command);
            }
        }
    }

    std::string closing_report() {
        std::ostringstream out;
        store.close(out);
        return out.str();
    }

    const TempFile products{"apple 0.50\npear 1.25\n"};
    Store store{products.path()};
};

TEST_F(StoreTest, IsOpenOnlyWithProducts) {
    EXPECT_TRUE(store.is_open());
    const TempFile empty("");
    EXPECT_FALSE(Store(empty.path()).is_open());
    EXPECT_FALSE(Store(testing::TempDir() + "no_such_products.txt").is_open());
}

// One sequence of transactions on a fresh store and what it writes.
struct Session {
    const char* what;
    std::vector<std::string> transactions;
    std::string out;
    std::string err;
};

void PrintTo(const Session& session, std::ostream* out) {
    *out << session.what;
}

class StoreMessagesTest : public StoreTest, public testing::WithParamInterface<Session> {};

TEST_P(StoreMessagesTest, WritesTheTransactionsMessages) {
    StreamCapture out(std::cout);
    StreamCapture err(std::cerr);
    run(GetParam().transactions);
    EXPECT_EQ(out.text(), GetParam().out);
    EXPECT_EQ(err.text(), GetParam().err);
}

INSTANTIATE_TEST_SUITE_P(
    Store, StoreMessagesTest,
    testing::Values(
        Session{"BuysIsSilent", {"alice buys 2 apple", "alice showcart"}, kAlice + "\n", ""},
        Session{"NoCartToShowOrCheckOut",
                {"carol showcart", "carol checkout", "carol buys", "carol returns"},
                "Sorry, but no cart for carol exists.\nSorry, but no cart for carol exists.\n"
                "Sorry, but no cart for carol exists.\nSorry, but no cart for carol exists.\n",
                ""},
        Session{"CheckoutEndsTheCart",
                {"alice buys 2 apple", "alice checkout", "alice checkout"},
                kAlice + "\n\nThanks for shopping with us, alice!\n" +
                    "Sorry, but no cart for alice exists.\n",
                ""},
        Session{"RefusedReturnOpensEmptyCart",
                {"bob returns 1 apple", "bob showcart", "bob checkout"},
                "Cannot return more of the product than was bought!\n\n"
                "\n\nThanks for shopping with us, bob!\n",
                ""},
        Session{"ProductsNotCarried",
                {"bob buys 2 kiwi", "bob buys -3 kiwi", "bob returns 1 Apple"},
                "Sorry, bob, but we don't carry kiwi.\nSorry, bob, but we don't carry kiwi.\n"
                "Sorry, bob, but you couldn't have bought Apple because we don't carry it!\n",
                ""},
        Session{
            "QuantitiesNotPositive",
            {"bob buys 0 apple", "bob buys -2 pear", "bob returns 0 pear", "bob returns -1 apple"},
            "Sorry, only positive quantities can be bought!\n"
            "Sorry, only positive quantities can be bought!\n"
            "Sorry, only positive quantities can be returned!\n"
            "Sorry, only positive quantities can be returned!\n",
            ""},
        Session{"ReturnsWithinAndBeyondWhatWasBought",
                {"bob buys 2 pear", "bob returns 3 pear", "bob returns 1 pear", "bob showcart"},
                "Cannot return more of the product than was bought!\n" + kBob + "\n",
                ""},
        Session{"MoreThanOneCartCanHold",
                {"bob buys 2147483647 pear", "bob buys 1 pear"},
                "Sorry, that would be more of the product than one cart can hold!\n",
                ""},
        Session{"IllegalCommandToShortForm",
                {"alice buys 2 apple", "alice buys", "alice Showcart"},
                "",
                "Illegal command:  buys\nIllegal command:  Showcart\n"},
        Session{"IllegalCommandToLongFormOpensCart",
                {"erin showcart 1 apple", "erin Buys 1 apple", "erin showcart"},
                "\n",
                "Illegal command:  showcart\nIllegal command:  Buys\n"}),
    [](const testing::TestParamInfo<Session>& info) { return std::string(info.param.what); });

TEST_F(StoreTest, CartsAreFoundByExactName) {
    EXPECT_TRUE(store.empty());
    EXPECT_EQ(store.find("alice"), nullptr);
    run({"alice buys 2 apple", "bob buys 1 pear", "carol returns 1 pear"});
    EXPECT_FALSE(store.empty());
    EXPECT_EQ(store.find("alice")->data.customer, "alice");
    EXPECT_EQ(store.find("bob")->data.customer, "bob");
    EXPECT_EQ(store.find("carol")->data.customer, "carol");
    EXPECT_EQ(store.find("Alice"), nullptr);
    EXPECT_EQ(&store.find("alice"), &store.find("bob")->next);
}

TEST_F(StoreTest, ClosingReportShowsOpenCartsNewestFirst) {
    EXPECT_EQ(closing_report(), kHeading + kThanks);
    run({"alice buys 2 apple"});
    EXPECT_EQ(closing_report(), kHeading + kAlice + kThanks);
    run({"bob buys 1 pear"});
    EXPECT_EQ(closing_report(), kHeading + kBob + "\n\n" + kAlice + "\n" + kThanks);
    StreamCapture out(std::cout);
    run({"carol buys 1 kiwi", "bob checkout"});
    EXPECT_EQ(closing_report(), kHeading + "\n\n" + kAlice + "\n" + kThanks);
}

TEST_F(StoreTest, CheckoutInTheMiddleKeepsTheOtherCarts) {
    StreamCapture out(std::cout);
    run({"alice buys 2 apple", "bob buys 1 pear", "carol buys 1 pear", "bob checkout",
         "carol returns 1 pear", "carol checkout"});
    EXPECT_EQ(closing_report(), kHeading + kAlice + kThanks);
    std::ostringstream all;
    store.print(all);
    EXPECT_EQ(all.str(), kAlice);
}

}  // namespace
