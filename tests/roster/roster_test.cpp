#include "roster.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "StreamCapture.h"
#include "live_blocks.h"

// Names in these tests fit the string's inline buffer, so each insertion allocates exactly one
// block: its node.
namespace {

using Names = std::vector<std::string>;

std::string printed(const Roster& roster) {
    StreamCapture capture(std::cout);
    roster.print();
    return capture.text();
}

std::string lines(const Names& names) {
    std::string text;
    for (const std::string& name : names) {
        text += name + "\n";
    }
    return text;
}

TEST(RosterPrint, EmptyRosterSaysSo) {
    Roster roster(nullptr, nullptr);
    EXPECT_EQ(printed(roster), "List is empty!\n");
}

struct OrderCase {
    const char* what;
    Names inserted;
    Names expected;
};

const OrderCase kOrderCases[] = {
    {"names out of order", {"Smith", "Adams", "Jones"}, {"Adams", "Jones", "Smith"}},
    {"capitals before small letters", {"adam", "Zoe"}, {"Zoe", "adam"}},
    {"prefix first, blank before letters", {"Anna", "Ann ", "Ann"}, {"Ann", "Ann ", "Anna"}},
    {"empty name first", {"Bob", "", "Al"}, {"", "Al", "Bob"}},
    {"duplicates side by side",
     {"Bob", "Al", "Bob", "Cy", "Bob"},
     {"Al", "Bob", "Bob", "Bob", "Cy"}},
    {"blank, digit, capital, small", {"b", "B", "1", " "}, {" ", "1", "B", "b"}},
    {"bytes above 127 after ASCII",
     {"\xc3\x89mile", "zed", "Emil"},
     {"Emil", "zed", "\xc3\x89mile"}},
    {"carriage return after the plain name", {"Al\r", "Al", "Alan"}, {"Al", "Al\r", "Alan"}},
    {"ascending input appends", {"a", "b", "c", "d"}, {"a", "b", "c", "d"}},
    {"descending input prepends", {"d", "c", "b", "a"}, {"a", "b", "c", "d"}},
};

void PrintTo(const OrderCase& c, std::ostream* out) {
    *out << c.what;
}

class RosterOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(RosterOrder, AddSortsByByteValue) {
    Roster roster(nullptr, nullptr);
    for (const std::string& name : GetParam().inserted) {
        roster.add(name);
    }
    EXPECT_EQ(printed(roster), lines(GetParam().expected));
}

TEST_P(RosterOrder, PlusEqualsSortsLikeAdd) {
    Roster roster(nullptr, nullptr);
    for (const std::string& name : GetParam().inserted) {
        roster += name;
    }
    EXPECT_EQ(printed(roster), lines(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, RosterOrder, testing::ValuesIn(kOrderCases),
                         [](const testing::TestParamInfo<OrderCase>& info) {
                             return "case" + std::to_string(info.index);
                         });

TEST(RosterPlusEquals, ChainsInsertions) {
    Roster roster(nullptr, nullptr);
    Roster& result = (roster += "Smith") += "Adams";
    EXPECT_EQ(&result, &roster);
    EXPECT_EQ(printed(roster), "Adams\nSmith\n");
}

// Equal names print alike, so where a new node lands among equals is checked on the chain
// itself: the test builds the chain, hands it to the roster and follows the nodes it made.
struct PlacementCase {
    const char* what;
    Names chain;
    std::string inserted;
    std::size_t position;  // index of the new node on the chain afterwards
};

const PlacementCase kPlacementCases[] = {
    {"equal to the only name: behind the head", {"Bob"}, "Bob", 1},
    {"equal to the head: behind the head", {"Bob", "Bob", "Cy"}, "Bob", 1},
    {"equal further down: before the first equal", {"Al", "Bob", "Bob"}, "Bob", 1},
    {"equal to the last name: before it", {"Al", "Bob", "Cy"}, "Cy", 2},
    {"between two names", {"Al", "Cy"}, "Bob", 1},
    {"greater than all: at the end", {"Al", "Bob"}, "Cy", 2},
};

void PrintTo(const PlacementCase& c, std::ostream* out) {
    *out << c.what;
}

class RosterPlacement : public testing::TestWithParam<PlacementCase> {};

TEST_P(RosterPlacement, NewNodeLandsWhereTheOrderRulesSay) {
    const PlacementCase& c = GetParam();
    std::vector<Node*> originals;
    Node* first = nullptr;
    for (auto name = c.chain.rbegin(); name != c.chain.rend(); ++name) {
        first = new Node(*name, first);
        originals.insert(originals.begin(), first);
    }
    Roster roster(first, nullptr);
    roster.add(c.inserted);

    std::vector<Node*> chain;
    for (Node* node = first; node != nullptr; node = node->next) {
        chain.push_back(node);
    }
    ASSERT_EQ(chain.size(), originals.size() + 1);
    ASSERT_LT(c.position, chain.size());
    Node* added = chain[c.position];
    EXPECT_EQ(added->name, c.inserted);
    chain.erase(chain.begin() + static_cast<long>(c.position));
    EXPECT_EQ(chain, originals);
}

INSTANTIATE_TEST_SUITE_P(Cases, RosterPlacement, testing::ValuesIn(kPlacementCases),
                         [](const testing::TestParamInfo<PlacementCase>& info) {
                             return "case" + std::to_string(info.index);
                         });

TEST(RosterPlacement, SmallerThanTheHeadBecomesTheHead) {
    Node* bob = new Node("Bob", nullptr);
    Roster roster(bob, nullptr);
    roster.add("Al");
    EXPECT_EQ(bob->next, nullptr);
    EXPECT_EQ(printed(roster), "Al\nBob\n");
}

TEST(RosterDestruction, FreesEveryNodeOnce) {
    for (const std::size_t count : {0, 1, 2, 50}) {
        const long before = live_blocks();
        {
            Roster roster(nullptr, nullptr);
            for (std::size_t i = 0; i < count; ++i) {
                roster.add("n" + std::to_string(i % 7));
            }
            EXPECT_EQ(live_blocks() - before, static_cast<long>(count)) << count << " names";
        }
        EXPECT_EQ(live_blocks(), before) << count << " names";
    }
}

TEST(RosterDestruction, FreesAChainItWasGiven) {
    const long before = live_blocks();
    {
        Node* first = nullptr;
        for (int i = 0; i < 100000; ++i) {
            first = new Node("n", first);
        }
        Roster roster(first, nullptr);
    }
    EXPECT_EQ(live_blocks(), before);
}

}  // namespace
