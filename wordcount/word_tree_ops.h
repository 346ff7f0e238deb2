#ifndef WORDCOUNT_WORD_TREE_OPS_H_
#define WORDCOUNT_WORD_TREE_OPS_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
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

// How many leading bytes of a word take part in the quick comparison.
constexpr std::size_t kLeadingBytes = 8;

// The first eight bytes of `w` as a big-endian number, zero-padded past the end of a shorter
// word. Where the leading bytes of two words differ, the words compare as these numbers do;
// where they are equal, the words may still differ in length or after the eighth byte.
// The eight bytes are read at once wherever the string's storage (capacity() + 1 bytes) holds
// them, as it holds them for every word with the common libraries, which keep at least 15
// characters within the string itself; the bytes past the word's end are then masked off.
inline std::uint64_t leading_bytes(const std::string& w) {
    std::uint64_t bytes;
    if (w.capacity() + 1 >= kLeadingBytes) {
        std::memcpy(&bytes, w.data(), kLeadingBytes);
    } else {
        bytes = 0;
        std::memcpy(&bytes, w.data(), w.size());
    }
    // In memory order the first byte must weigh most: one instruction turns a little-endian
    // load around, where byte-wise shifts would cost one step per byte with some compilers.
#if defined(__GNUC__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    bytes = __builtin_bswap64(bytes);
#else
    unsigned char b[kLeadingBytes];
    std::memcpy(b, &bytes, kLeadingBytes);
    bytes = 0;
    for (const unsigned char c : b) {
        bytes = bytes << 8 | c;
    }
#endif
    // The padding is cleared by two shifts, each by half its width: one shift by 64 bits (for
    // the empty word) would be undefined.
    const std::size_t half_padding_bits = 4 * (kLeadingBytes - std::min(w.size(), kLeadingBytes));
    return bytes & (~std::uint64_t{0} << half_padding_bits << half_padding_bits);
}

// Orders `a` and `b` as std::string::compare does (bytes as unsigned values, a proper prefix
// first) and returns a negative, zero or positive value alike. Most words differ within their
// first eight bytes, so `a_leading`, which a caller comparing `a` with many words computes once,
// usually settles the order in one step; a tie there is settled by the lengths, or by the bytes
// after the eighth when both words are longer.
// REQUIRES: `a_leading` is leading_bytes(a).
inline int compare_words(const std::string& a, std::uint64_t a_leading, const std::string& b) {
    const std::uint64_t b_leading = leading_bytes(b);
    if (a_leading != b_leading) {
        return a_leading < b_leading ? -1 : 1;
    }
    // Alike so far: the first eight bytes, or all of the shorter word if it has fewer.
    const std::size_t shorter = std::min(a.size(), b.size());
    if (shorter > kLeadingBytes) {
        const int rest = std::memcmp(a.data() + kLeadingBytes, b.data() + kLeadingBytes,
                                     shorter - kLeadingBytes);
        if (rest != 0) {
            return rest;
        }
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// Asks for the memory at `address` to be brought into the cache ahead of its use; a hint only,
// harmless for a null pointer, and nothing where the compiler offers no way to give it.
inline void fetch_ahead(const void* address) {
#if defined(__GNUC__)
    __builtin_prefetch(address);
#else
    static_cast<void>(address);
#endif
}

// Counts one occurrence of `word` in the subtree rooted at `top`: the matching node's count
// grows by one, or a new node with count 1 is linked where the search ended.
// REQUIRES: `top` is not null.
template <class Node>
void count_in_subtree(Node* top, const std::string& word) {
    const std::uint64_t word_leading = leading_bytes(word);
    Node* n = top;
    for (;;) {
        // Both children are asked for before the comparison picks one, so that the next node is
        // on its way while this one is compared, whichever way the descent goes.
        fetch_ahead(n->left);
        fetch_ahead(n->right);
        const int order = compare_words(word, word_leading, n->word);
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
