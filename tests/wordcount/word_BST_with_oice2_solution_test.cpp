#include "word_BST_with_oice2_solution.h"

#include <gtest/gtest.h>

#include "counting_tree_tests.h"
#include "cout_capture.h"

namespace {

INSTANTIATE_TYPED_TEST_SUITE_P(SolutionTree, CountingTree, word_BST_with_oice2_solution);

TEST(SolutionTree, LeavesFlushingToTheEndOfTheProgram) {
    word_BST_with_oice2_solution tree;
    for (const char* word : {"one", "two", "three", "two"}) {
        tree.insert(word);
    }
    CoutCapture capture;
    tree.output_if_count_exceeds(0);
    EXPECT_EQ(capture.str(), "two\nthree\none\n");
    EXPECT_EQ(capture.flushes(), 0);
}

}  // namespace
