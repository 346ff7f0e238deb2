#include "word_BST_with_oice2_solution.h"

#include <gtest/gtest.h>

#include <string>

#include "cout_capture.h"
#include "tree_report_cases.h"

namespace {

std::string report_of(const word_BST_with_oice2_solution& tree, int32_t threshold) {
    CoutCapture capture;
    tree.output_if_count_exceeds(threshold);
    return capture.str();
}

TEST(SolutionTree, ReportsWordsCountedMoreOftenThanTheThresholdInDescendingOrder) {
    for (const TreeReportCase& c : tree_report_cases()) {
        word_BST_with_oice2_solution tree;
        for (const std::string& word : c.inserted) {
            tree.insert(word);
        }
        EXPECT_EQ(report_of(tree, c.threshold), c.report) << c.name;
    }
}

TEST(SolutionTree, ReportingLeavesTheCountsUnchanged) {
    word_BST_with_oice2_solution tree;
    for (const char* word : {"b", "a", "b"}) {
        tree.insert(word);
    }
    EXPECT_EQ(report_of(tree, 1), "b\n");
    EXPECT_EQ(report_of(tree, 1), "b\n");
    tree.insert("a");
    EXPECT_EQ(report_of(tree, 1), "b\na\n");
}

TEST(SolutionTree, SortedInputBuildsAChainReportedInFull) {
    for (bool ascending : {true, false}) {
        const Chain chain = make_chain(3000, ascending);
        word_BST_with_oice2_solution tree;
        for (const std::string& word : chain.words) {
            tree.insert(word);
        }
        tree.insert(chain.words.back());
        EXPECT_EQ(report_of(tree, 0), chain.report) << "ascending " << ascending;
        EXPECT_EQ(report_of(tree, 1), chain.words.back() + "\n") << "ascending " << ascending;
    }
}

}  // namespace
