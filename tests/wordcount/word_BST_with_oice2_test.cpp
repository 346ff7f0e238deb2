#include "word_BST_with_oice2.h"

#include <gtest/gtest.h>

#include "counting_tree_tests.h"
#include "cout_capture.h"

namespace {

INSTANTIATE_TYPED_TEST_SUITE_P(WordTree, CountingTree, word_BST_with_oice2);

TEST(WordTree, FlushesEveryLine) {
    word_BST_with_oice2 tree;
    for (const char* word : {"one", "two", "three", "two"}) {
        tree.insert(word);
    }
    CoutCapture capture;
    tree.output_if_count_exceeds(0);
    EXPECT_EQ(capture.str(), "two\nthree\none\n");
    EXPECT_EQ(capture.flushes(), 3);
}

}  // namespace
