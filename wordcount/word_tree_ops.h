#ifndef WORDCOUNT_WORD_TREE_OPS_H_
#define WORDCOUNT_WORD_TREE_OPS_H_

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

// The walks shared by the two counting trees. The trees are unbalanced, so text whose words
// arrive sorted makes a chain as long as the vocabulary; every walk here therefore loops instead
// of recursing, and the stack stays flat at any height. `Node` has the fields `left`, `right`
// (owning pointers, null when absent), `word` and `count`, and a constructor from the word.

// Adds one to `count` unless it already holds the largest int32_t value, where it stays.
inline void count_once_more(int32_t& count) {
    if (count < std::numeric_limits<int32_t>::max()) {
        ++count;
    }
}

// Orders two words as std::string::compare does (bytes as unsigned values, a proper prefix
// first) and returns a negative, zero or positive value alike. Written out because most words
// are short and differ early, where a call to memcmp per tree level would cost more than the
// comparison itself.
inline int compare_words(const std::string& a, const std::string& b) {
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        if (a[i] != b[i]) {
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]) ? -1 : 1;
        }
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// Counts one occurrence of `word` in the subtree rooted at `top`: the matching node's count
// grows by one, or a new node with count 1 is linked where the search ended.
// REQUIRES: `top` is not null.
template <class Node>
void count_in_subtree(Node* top, const std::string& word) {
    Node* n = top;
    for (;;) {
        const int order = compare_words(word, n->word);
        if (order == 0) {
            count_once_more(n->count);
            return;
        }
        Node*& child = order < 0 ? n->left : n->right;
        if (child == nullptr) {
            child = new Node(word);
            return;
        }
        n = child;
    }
}

// Frees every node of the subtree rooted at `top` (which may be null). Each left child is
// rotated up until the current node has none; the node is then freed with no children linked,
// so its own destructor has nothing left to free.
template <class Node>
void destroy_subtree(Node* top) {
    Node* n = top;
    while (n != nullptr) {
        if (n->left != nullptr) {
            Node* raised = n->left;
            n->left = raised->right;
            raised->right = n;
            n = raised;
        } else {
            Node* rest = n->right;
            n->right = nullptr;
            delete n;
            n = rest;
        }
    }
}

// Calls `visit(node)` for the nodes of the subtree rooted at `top` (which may be null), in
// descending order of the words: right subtree, node, left subtree. Stops as soon as `visit`
// returns false.
template <class Node, class Visit>
void visit_descending(const Node* top, Visit&& visit) {
    std::vector<const Node*> awaiting_visit;  // ancestors whose right subtree is being walked
    const Node* n = top;
    while (n != nullptr || !awaiting_visit.empty()) {
        for (; n != nullptr; n = n->right) {
            awaiting_visit.push_back(n);
        }
        n = awaiting_visit.back();
        awaiting_visit.pop_back();
        if (!visit(*n)) {
            return;
        }
        n = n->left;
    }
}

#endif  // WORDCOUNT_WORD_TREE_OPS_H_
