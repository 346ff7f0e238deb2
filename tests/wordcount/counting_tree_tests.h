#ifndef TESTS_WORDCOUNT_COUNTING_TREE_TESTS_H_
#define TESTS_WORDCOUNT_COUNTING_TREE_TESTS_H_

#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "StreamCapture.h"

// Reports that both counting trees must write byte for byte alike.
struct TreeReportCase {
    const char* name;
    std::vector<std::string> inserted;  // in insertion order
    int32_t threshold;
    std::string report;
};

inline std::vector<TreeReportCase> tree_report_cases() {
    const std::vector<std::string> cats = {"cat", "cat", "cat"};
    const std::vector<std::string> fruit = {"pear", "apple", "fig",  "fig",  "apple",
                                            "pear", "fig",   "pear", "apple"};
    const std::vector<std::string> mixed = {"b", "", "a", "", "c", "b", "", "B", "a"};
    return {
        {"count above threshold", cats, 2, "cat\n"},
        {"count far above threshold", cats, 1, "cat\n"},
        {"count equal to threshold", cats, 3, ""},
        {"descending order", fruit, 2, "pear\nfig\napple\n"},
        {"zero reports every word", mixed, 0, "c\nb\na\nB\n\n"},
        {"negative reports every word", mixed, -1, "c\nb\na\nB\n\n"},
        {"lowest threshold", mixed, INT32_MIN, "c\nb\na\nB\n\n"},
        {"empty word last", mixed, 1, "b\na\n\n"},
        {"only the empty word", mixed, 2, "\n"},
        {"highest threshold", mixed, INT32_MAX, ""},
        {"empty tree", {}, 0, ""},
        {"empty tree, negative threshold", {}, -5, ""},
        {"case distinguishes words", {"Cat", "cat", "CAT", "cat"}, 1, "cat\n"},
        {"bytes above 127 sort last", {"z", "\xC3\xA9", "\xFF", "a"}, 0, "\xFF\n\xC3\xA9\nz\na\n"},
        {"prefix sorts first", {"ab", "a", "abc", "b"}, 0, "b\nabc\nab\na\n"},
        {"ascending chain", {"a", "b", "c", "d", "d"}, 0, "d\nc\nb\na\n"},
        {"descending chain", {"d", "c", "c", "b", "a"}, 1, "c\n"},
    };
}

// The words "w00000" up to "w<n-1>" in ascending or descending order, and the report of all of
// them, which is descending in either case.
struct Chain {
    std::vector<std::string> words;
    std::string report;
};

inline Chain make_chain(int n, bool ascending) {
    Chain chain;
    for (int i = 0; i < n; ++i) {
        std::string digits = std::to_string(ascending ? i : n - 1 - i);
        chain.words.push_back("w" + std::string(5 - digits.size(), '0') + digits);
    }
    for (int i = n - 1; i >= 0; --i) {
        chain.report += chain.words[ascending ? i : n - 1 - i] + "\n";
    }
    return chain;
}

// Whether a tree's report flushes standard output after every line; each tree's test file
// specializes it, before instantiating the suite below.
template <typename Tree>
struct ReportFlushing;

// The behaviour both counting trees share, instantiated by each tree's own test file with
// INSTANTIATE_TYPED_TEST_SUITE_P(Name, CountingTree, TreeType, TypeIndexName).
template <typename Tree>
class CountingTree : public testing::Test {
  protected:
    static std::string report_of(const Tree& tree, int32_t threshold) {
        StreamCapture capture(std::cout);
        tree.output_if_count_exceeds(threshold);
        return capture.text();
    }
};

TYPED_TEST_SUITE_P(CountingTree);

// Names an instantiated test by the index of its type, as GoogleTest does by default. Given
// explicitly, because leaving out the macro's optional last argument needs a GNU extension.
struct TypeIndexName {
    template <typename T>
    static std::string GetName(int index) {
        return std::to_string(index);
    }
};

TYPED_TEST_P(CountingTree, ReportsWordsCountedMoreOftenThanTheThresholdInDescendingOrder) {
    for (const TreeReportCase& c : tree_report_cases()) {
        TypeParam tree;
        for (const std::string& word : c.inserted) {
            tree.insert(word);
        }
        EXPECT_EQ(this->report_of(tree, c.threshold), c.report) << c.name;
    }
}

TYPED_TEST_P(CountingTree, ReportingLeavesTheCountsUnchanged) {
    TypeParam tree;
    for (const char* word : {"b", "a", "b"}) {
        tree.insert(word);
    }
    EXPECT_EQ(this->report_of(tree, 1), "b\n");
    EXPECT_EQ(this->report_of(tree, 1), "b\n");
    tree.insert("a");
    EXPECT_EQ(this->report_of(tree, 1), "b\na\n");
}

TYPED_TEST_P(CountingTree, SortedInputBuildsAChainReportedInFull) {
    for (bool ascending : {true, false}) {
        const Chain chain = make_chain(3000, ascending);
        TypeParam tree;
        for (const std::string& word : chain.words) {
            tree.insert(word);
        }
        tree.insert(chain.words.back());
        EXPECT_EQ(this->report_of(tree, 0), chain.report) << "ascending " << ascending;
        EXPECT_EQ(this->report_of(tree, 1), chain.words.back() + "\n") << "ascending " << ascending;
    }
}

TYPED_TEST_P(CountingTree, FlushesAsItsReportPromises) {
    TypeParam tree;
    for (const char* word : {"one", "two", "three", "two"}) {
        tree.insert(word);
    }
    StreamCapture capture(std::cout);
    tree.output_if_count_exceeds(0);
    EXPECT_EQ(capture.text(), "two\nthree\none\n");
    EXPECT_EQ(capture.flushes(), ReportFlushing<TypeParam>::each_line ? 3 : 0);
}

REGISTER_TYPED_TEST_SUITE_P(CountingTree, FlushesAsItsReportPromises,
                            ReportsWordsCountedMoreOftenThanTheThresholdInDescendingOrder,
                            ReportingLeavesTheCountsUnchanged,
                            SortedInputBuildsAChainReportedInFull);

#endif  // TESTS_WORDCOUNT_COUNTING_TREE_TESTS_H_
