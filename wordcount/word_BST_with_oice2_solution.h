#ifndef WORDCOUNT_WORD_BST_WITH_OICE2_SOLUTION_H_
#define WORDCOUNT_WORD_BST_WITH_OICE2_SOLUTION_H_

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>

// Counts words in an unbalanced binary search tree, one node per distinct word. Every word in a
// node's left subtree is less than its word, every word in its right subtree greater; every count
// is at least 1, and the first word inserted stays the root. The tree owns all its nodes.
class word_BST_with_oice2_solution {
  public:
    // An empty tree.
    word_BST_with_oice2_solution() = default;
    word_BST_with_oice2_solution(const word_BST_with_oice2_solution&) = delete;
    word_BST_with_oice2_solution& operator=(const word_BST_with_oice2_solution&) = delete;
    // Frees every node.
    ~word_BST_with_oice2_solution();

    // Counts one occurrence of `word`; a count stops growing at the largest int32_t value.
    void insert(const std::string& word);

    // Writes to standard output, in descending order, each word whose count is strictly greater
    // than `threshold`, followed by a newline. Lines are not flushed one by one.
    void output_if_count_exceeds(int32_t threshold) const;

  private:
    // One distinct word and how often it was inserted; owns both of its subtrees.
    struct node {
        // A leaf holding `w` with count 1.
        explicit node(const std::string& w) : word(w) {}
        node(const node&) = delete;
        node& operator=(const node&) = delete;
        // Frees the left subtree, then the right one.
        ~node();

        // Nodes live in the cache-line slots of a pool shared by every tree of this class.
        static void* operator new(std::size_t size);
        // Returns a node's slot to the pool; nothing for a null pointer.
        static void operator delete(void* slot);

        node* left = nullptr;
        node* right = nullptr;
        std::string word;
        int32_t count = 1;
    };

    // Counts `word` in the subtree rooted at `n`. REQUIRES: `n` is not null.
    void insert_helper(node* n, const std::string& word);

    // Writes the report lines of the subtree rooted at `n` through `out`, which adds the newline.
    // REQUIRES: `n` is not null.
    void output_if_count_exceeds_helper(const node* n, int32_t threshold,
                                        std::ostream_iterator<std::string>& out) const;

    node* root = nullptr;  // the node of the first word inserted; null while empty
};

#endif  // WORDCOUNT_WORD_BST_WITH_OICE2_SOLUTION_H_
