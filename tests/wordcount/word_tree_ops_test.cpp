#include "word_tree_ops.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "small_stack.h"

namespace {

// A node with the counting trees' fields that keeps track of how many of its kind are alive.
struct TestNode {
    explicit TestNode(const std::string& w) : word(w) { ++alive; }
    ~TestNode() { --alive; }

    TestNode* left = nullptr;
    TestNode* right = nullptr;
    std::string word;
    int32_t count = 1;

    static int alive;
};

int TestNode::alive = 0;

std::string numbered(int i) {
    std::string digits = std::to_string(i);
    return "w" + std::string(7 - digits.size(), '0') + digits;
}

// Links `n` nodes numbered 0 to n-1 into a chain in linear time: each node is the right child
// of the previous one when `ascending`, the left child otherwise.
TestNode* make_chain(int n, bool ascending) {
    TestNode* top = new TestNode(numbered(ascending ? 0 : n - 1));
    TestNode* last = top;
    for (int i = 1; i < n; ++i) {
        TestNode* next = new TestNode(numbered(ascending ? i : n - 1 - i));
        (ascending ? last->right : last->left) = next;
        last = next;
    }
    return top;
}

// The words of the subtree in the order visit_descending visits them, the walk being stopped
// once `limit` words have been visited.
std::vector<std::string> descending_words(
    const TestNode* top, std::size_t limit = std::numeric_limits<std::size_t>::max()) {
    std::vector<std::string> words;
    visit_descending(top, [&words, limit](const TestNode& n) {
        words.push_back(n.word);
        return words.size() < limit;
    });
    return words;
}

TEST(WordTreeOps, CountOnceMoreStopsAtTheLargestInt32) {
    struct {
        int32_t before;
        int32_t after;
    } const cases[] = {{1, 2}, {INT32_MAX - 1, INT32_MAX}, {INT32_MAX, INT32_MAX}};
    for (const auto& c : cases) {
        int32_t count = c.before;
        count_once_more(count);
        EXPECT_EQ(count, c.after) << "from " << c.before;
    }
}

TEST(WordTreeOps, CountingASaturatedWordLeavesItAtTheLargestInt32) {
    TestNode* top = new TestNode("m");
    count_in_subtree(top, "z");
    top->right->count = INT32_MAX - 1;
    count_in_subtree(top, "z");
    EXPECT_EQ(top->right->count, INT32_MAX);
    count_in_subtree(top, "z");
    count_in_subtree(top, "z");
    EXPECT_EQ(top->right->count, INT32_MAX);
    EXPECT_EQ(top->count, 1);
    destroy_subtree(top);
}

TEST(WordTreeOps, CountInSubtreeLinksNewWordsBySortOrder) {
    TestNode* top = new TestNode("m");
    for (const char* w : {"f", "t", "a", "m", "h", "", "t", "m", "M", "\xC3\xA9"}) {
        count_in_subtree(top, w);
    }
    EXPECT_EQ(top->count, 3);
    ASSERT_NE(top->left, nullptr);
    ASSERT_NE(top->left->left, nullptr);
    ASSERT_NE(top->right, nullptr);
    EXPECT_EQ(top->left->word, "f");
    EXPECT_EQ(top->left->right->word, "h");
    EXPECT_EQ(top->left->left->word, "a");
    ASSERT_NE(top->left->left->left, nullptr);
    EXPECT_EQ(top->left->left->left->word, "");
    ASSERT_NE(top->left->left->left->right, nullptr);
    EXPECT_EQ(top->left->left->left->right->word, "M");
    EXPECT_EQ(top->right->word, "t");
    EXPECT_EQ(top->right->count, 2);
    EXPECT_EQ(top->right->right->word, "\xC3\xA9");  // bytes above 127 sort after ASCII
    EXPECT_EQ(descending_words(top),
              (std::vector<std::string>{"\xC3\xA9", "t", "m", "h", "f", "a", "M", ""}));
    EXPECT_EQ(descending_words(top, 3), (std::vector<std::string>{"\xC3\xA9", "t", "m"}));
    destroy_subtree(top);
    EXPECT_EQ(TestNode::alive, 0);
}

TEST(WordTreeOps, DeepChainsAreCountedWalkedAndFreedWithoutRecursion) {
    SKIP_WITHOUT_SMALL_STACK();
    constexpr int kHeight = kDeepChainHeight;
    for (bool ascending : {true, false}) {
        TestNode* top = make_chain(kHeight, ascending);
        std::vector<std::string> words;
        run_on_small_stack([&] {
            count_in_subtree(top, ascending ? "x" : "");
            count_in_subtree(top, numbered(kHeight / 2));
            words = descending_words(top);
            destroy_subtree(top);
        });
        ASSERT_EQ(words.size(), static_cast<size_t>(kHeight) + 1) << "ascending " << ascending;
        EXPECT_EQ(words.front(), ascending ? "x" : numbered(kHeight - 1));
        EXPECT_EQ(words.back(), ascending ? numbered(0) : "");
        EXPECT_EQ(words[kHeight / 2], numbered(kHeight / 2 - (ascending ? 0 : 1)));
        EXPECT_EQ(TestNode::alive, 0);
    }
}

TEST(WordTreeOps, DestroySubtreeFreesEveryShape) {
    // Zigzag: alternately a right and a left child, the shape that rotations rework most.
    TestNode* top = new TestNode(numbered(0));
    int low = 1;
    int high = 1000000;
    for (int i = 0; i < 1000; ++i) {
        count_in_subtree(top, numbered(i % 2 == 0 ? high-- : low++));
    }
    EXPECT_EQ(top->right->left->right->left->word, numbered(2));
    EXPECT_EQ(TestNode::alive, 1001);
    EXPECT_EQ(descending_words(top).size(), 1001u);
    destroy_subtree(top);
    EXPECT_EQ(TestNode::alive, 0);
}

}  // namespace
