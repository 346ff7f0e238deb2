#include "BSTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "StreamCapture.h"
#include "live_blocks.h"
#include "small_stack.h"

namespace {

using Listing = void (BSTree<std::string>::*)() const;

std::string listing_of(const BSTree<std::string>& tree, Listing listing) {
    StreamCapture out(std::cout);
    (tree.*listing)();
    return out.text();
}

BSTree<std::string>* tree_of(const std::vector<std::string>& words) {
    auto* tree = new BSTree<std::string>;
    for (const auto& word : words) {
        tree->insert(word);
    }
    return tree;
}

struct ListingCase {
    const char* name;
    std::vector<std::string> inserted;
    std::string pretty;
    std::string pre;
    std::string post;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const ListingCase& c, std::ostream* out) {
    *out << c.name;
}

class BSTreeListings : public testing::TestWithParam<ListingCase> {};

TEST_P(BSTreeListings, WritesCountLineAndElementsInEachOrder) {
    const ListingCase& c = GetParam();
    std::unique_ptr<BSTree<std::string>> tree(tree_of(c.inserted));
    EXPECT_EQ(listing_of(*tree, &BSTree<std::string>::printP), c.pretty);
    EXPECT_EQ(listing_of(*tree, &BSTree<std::string>::printPre), c.pre);
    EXPECT_EQ(listing_of(*tree, &BSTree<std::string>::printPost), c.post);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, BSTreeListings,
    testing::Values(
        ListingCase{
            "empty", {}, "number of nodes: 0\n", "number of nodes: 0\n", "number of nodes: 0\n"},
        ListingCase{"single",
                    {"kiwi"},
                    "number of nodes: 1\nkiwi\n",
                    "number of nodes: 1\nkiwi\n",
                    "number of nodes: 1\nkiwi\n"},
        ListingCase{"worked_example",
                    {"lemon", "fig", "plum", "apple", "grape", "fig"},
                    "number of nodes: 5\n   plum\nlemon\n      grape\n   fig\n      apple\n",
                    "number of nodes: 5\nlemon\nfig\napple\ngrape\nplum\n",
                    "number of nodes: 5\napple\ngrape\nfig\nplum\nlemon\n"},
        ListingCase{"prefix_sorts_first",
                    {"figs", "fig"},
                    "number of nodes: 2\nfigs\n   fig\n",
                    "number of nodes: 2\nfigs\nfig\n",
                    "number of nodes: 2\nfig\nfigs\n"},
        ListingCase{"capitals_before_small_letters",
                    {"apple", "Apple", "apple"},
                    "number of nodes: 2\napple\n   Apple\n",
                    "number of nodes: 2\napple\nApple\n",
                    "number of nodes: 2\nApple\napple\n"},
        ListingCase{"ascending_chain",
                    {"a", "b", "c", "d"},
                    "number of nodes: 4\n         d\n      c\n   b\na\n",
                    "number of nodes: 4\na\nb\nc\nd\n",
                    "number of nodes: 4\nd\nc\nb\na\n"},
        ListingCase{"descending_chain",
                    {"d", "c", "b", "a"},
                    "number of nodes: 4\nd\n   c\n      b\n         a\n",
                    "number of nodes: 4\nd\nc\nb\na\n",
                    "number of nodes: 4\na\nb\nc\nd\n"},
        ListingCase{"zigzag",
                    {"m", "a", "z", "k", "c", "l"},
                    "number of nodes: 6\n   z\nm\n         l\n      k\n         c\n   a\n",
                    "number of nodes: 6\nm\na\nk\nc\nl\nz\n",
                    "number of nodes: 6\nc\nl\nk\na\nz\nm\n"},
        ListingCase{"bytes_above_127_after_ascii",
                    {"\xc3\xa9t\xc3\xa9", "zoo", "~"},
                    "number of nodes: 3\n\xc3\xa9t\xc3\xa9\n      ~\n   zoo\n",
                    "number of nodes: 3\n\xc3\xa9t\xc3\xa9\nzoo\n~\n",
                    "number of nodes: 3\n~\nzoo\n\xc3\xa9t\xc3\xa9\n"}),
    [](const testing::TestParamInfo<ListingCase>& info) { return std::string(info.param.name); });

TEST(BSTreeInsert, ReportsNewAndRepeatedElements) {
    BSTree<std::string> tree;
    const std::vector<std::pair<std::string, bool>> steps = {
        {"lemon", true}, {"fig", true},    {"plum", true}, {"apple", true}, {"grape", true},
        {"fig", false},  {"lemon", false}, {"Fig", true},  {"", true},      {"", false}};
    for (const auto& [word, added] : steps) {
        EXPECT_EQ(tree.insert(word), added) << "insert(\"" << word << "\")";
    }
    EXPECT_EQ(listing_of(tree, &BSTree<std::string>::printPre),
              "number of nodes: 7\nlemon\nfig\napple\nFig\n\ngrape\nplum\n");
}

TEST(BSTreeSearch, FindsExactlyTheInsertedElements) {
    std::unique_ptr<BSTree<std::string>> tree(tree_of({"lemon", "fig", "plum", "apple", "grape"}));
    for (const char* present : {"lemon", "fig", "plum", "apple", "grape"}) {
        EXPECT_TRUE(tree->search(present)) << present;
    }
    for (const char* absent : {"kiwi", "Lemon", "figs", "fi", "", "zzz", "aaa"}) {
        EXPECT_FALSE(tree->search(absent)) << absent;
    }
    EXPECT_FALSE(BSTree<std::string>().search("anything"));
}

TEST(BSTreeTemplate, WorksForAnyOrderedPrintableType) {
    BSTree<int> tree;
    for (int value : {50, 20, 70, 20, -5}) {
        tree.insert(value);
    }
    StreamCapture out(std::cout);
    tree.printPost();
    EXPECT_EQ(out.text(), "number of nodes: 4\n-5\n20\n70\n50\n");
    EXPECT_TRUE(tree.search(-5));
    EXPECT_FALSE(tree.search(60));
}

// An element that notes its key in a log when it is destroyed.
struct Logged {
    int key;
    std::vector<int>* log;
    ~Logged() { log->push_back(key); }
    bool operator==(const Logged& other) const { return key == other.key; }
    bool operator<(const Logged& other) const { return key < other.key; }
};

// Freeing must not allocate: an allocation that failed there would end the program.
TEST(BSTreeDestruction, FreesEveryNodeWithoutAllocating) {
    constexpr int kNodes = 1000;
    const struct {
        const char* shape;
        int (*key)(int i);
    } shapes[] = {
        {"ascending chain", [](int i) { return i; }},
        {"descending chain", [](int i) { return -i; }},
        {"zigzag", [](int i) { return i % 2 == 0 ? i : kNodes - i; }},
        {"bushy", [](int i) { return i * 7919 % kNodes; }},
    };
    for (const auto& s : shapes) {
        auto* tree = new BSTree<int>;
        for (int i = 0; i < kNodes; ++i) {
            tree->insert(s.key(i));
        }
        const long live_before = live_blocks();
        const long allocated_before = blocks_allocated();
        delete tree;
        const long live_after = live_blocks();
        const long allocated_after = blocks_allocated();
        EXPECT_EQ(allocated_after, allocated_before) << s.shape;
        EXPECT_EQ(live_after, live_before - kNodes - 1) << s.shape;
    }
}

TEST(BSTreeDestruction, FreesNodesInPostOrderLeftBeforeRight) {
    std::vector<int> log;
    std::vector<Logged> elements;
    elements.reserve(6);
    for (int key : {50, 30, 70, 20, 40, 60}) {
        elements.push_back(Logged{key, &log});
    }
    {
        BSTree<Logged> tree;
        for (const auto& element : elements) {
            tree.insert(element);
        }
        log.clear();
    }
    EXPECT_EQ(log, (std::vector<int>{20, 40, 30, 60, 70, 50}));
    log.clear();
    { BSTree<Logged> empty; }
    EXPECT_EQ(log, std::vector<int>{});
    elements.clear();
}

// Keeps what is written to it as lines, each reduced to the number of its leading blanks and the
// rest, so that the sideways drawing of a tall chain is checked without holding its blanks.
class LineRecorder : public std::streambuf {
  public:
    // The lines written so far, each as "<leading blanks> <rest>".
    const std::vector<std::string>& lines() const { return lines_; }

  protected:
    int overflow(int c) override {
        if (c != traits_type::eof()) {
            put(static_cast<char>(c));
        }
        return c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        for (std::streamsize i = 0; i < n; ++i) {
            put(s[i]);
        }
        return n;
    }

  private:
    void put(char c) {
        if (c == '\n') {
            lines_.push_back(std::to_string(indent_) + " " + text_);
            indent_ = 0;
            text_.clear();
        } else if (c == ' ' && text_.empty()) {
            ++indent_;
        } else {
            text_ += c;
        }
    }

    std::vector<std::string> lines_;
    std::size_t indent_ = 0;
    std::string text_;
};

std::vector<std::string> recorded(const BSTree<int>& tree, void (BSTree<int>::*listing)() const) {
    LineRecorder recorder;
    std::streambuf* saved = std::cout.rdbuf(&recorder);
    (tree.*listing)();
    std::cout.rdbuf(saved);
    return recorder.lines();
}

// Line index of lines, or a note that there is none.
std::string line_at(const std::vector<std::string>& lines, std::size_t index) {
    return index < lines.size() ? lines[index] : "(no line " + std::to_string(index) + ")";
}

// Expects listing to equal expected, and shows the first line in which they part.
void expect_listing(const std::vector<std::string>& listing,
                    const std::vector<std::string>& expected, const std::string& what) {
    const auto parting =
        std::mismatch(listing.begin(), listing.end(), expected.begin(), expected.end());
    const auto at = static_cast<std::size_t>(parting.first - listing.begin());
    EXPECT_EQ(line_at(listing, at), line_at(expected, at)) << what << ", line " << at;
}

TEST(BSTreeDeepChain, InsertsListsAndFreesATallChainOnASmallStack) {
    SKIP_WITHOUT_SMALL_STACK();
    constexpr int kHeight = kDeepChainHeight;
    for (bool ascending : {true, false}) {
        std::vector<std::string> pretty, pre, post;
        run_on_small_stack([&] {
            BSTree<int> chain;
            for (int i = 0; i < kHeight; ++i) {
                chain.insert(ascending ? i : kHeight - 1 - i);
            }
            pretty = recorded(chain, &BSTree<int>::printP);
            pre = recorded(chain, &BSTree<int>::printPre);
            post = recorded(chain, &BSTree<int>::printPost);
        });
        // Line i of each list, counted from 0 after the count line.
        std::vector<std::string> expected_pretty, expected_pre, expected_post;
        const std::string count = "0 number of nodes: " + std::to_string(kHeight);
        for (auto* list : {&expected_pretty, &expected_pre, &expected_post}) {
            list->push_back(count);
        }
        for (int i = 0; i < kHeight; ++i) {
            const int inserted_ith = ascending ? i : kHeight - 1 - i;
            const int inserted_last_but_ith = ascending ? kHeight - 1 - i : i;
            const int depth_of_ith = ascending ? kHeight - 1 - i : i;
            const int descending_ith = kHeight - 1 - i;
            expected_pretty.push_back(std::to_string(3 * depth_of_ith) + " " +
                                      std::to_string(descending_ith));
            expected_pre.push_back("0 " + std::to_string(inserted_ith));
            expected_post.push_back("0 " + std::to_string(inserted_last_but_ith));
        }
        const std::string order = ascending ? "ascending" : "descending";
        expect_listing(pretty, expected_pretty, "printP, " + order);
        expect_listing(pre, expected_pre, "printPre, " + order);
        expect_listing(post, expected_post, "printPost, " + order);
    }
}

}  // namespace
