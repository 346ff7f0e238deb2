#ifndef BST_BSTREE_H_
#define BST_BSTREE_H_

#include <iostream>
#include <tuple>
#include <utility>
#include <vector>

// One element of a BSTree. Every element of the left_child subtree is less than content, every
// element of the right_child subtree greater. A node owns both subtrees.
template <typename T>
class BSTNode {
  public:
    // A leaf holding a copy of element.
    explicit BSTNode(const T& element)
        : left_child(nullptr), right_child(nullptr), content(element) {}

    // Frees the left_child subtree, then the right_child subtree, each in post-order, without
    // nesting once per level and without allocating, so that a chain as tall as a long sorted
    // word list is safe and freeing never fails.
    ~BSTNode();

    BSTNode(const BSTNode&) = delete;
    BSTNode& operator=(const BSTNode&) = delete;

    // Read access to the element held.
    const T& const_content() const { return content; }

    BSTNode* left_child;
    BSTNode* right_child;
    T content;

  private:
    // One step down the walk of the destructor, from node to its first child not yet freed:
    // the link followed is made to hold parent instead, and a step to the right also sets
    // left_child to node itself, which tells step_up which link holds the parent. Returns that
    // child, or nullptr when node has no children left.
    static BSTNode* step_down(BSTNode* node, BSTNode* parent);

    // The step back up to node once the child it stepped down to is freed: clears the links
    // step_down reused and returns the parent they held.
    static BSTNode* step_up(BSTNode* node);
};

// An unbalanced binary search tree of distinct elements, shaped by the order of insertion alone:
// the first element inserted stays the root, and a node once linked never moves. node_count
// always equals the number of nodes. T needs copy construction, ==, < and << on an ostream.
template <typename T>
class BSTree {
  public:
    // An empty tree.
    BSTree() : root(nullptr), node_count(0) {}

    // Frees every node, in post-order, left before right.
    ~BSTree() { delete root; }

    BSTree(const BSTree&) = delete;
    BSTree& operator=(const BSTree&) = delete;

    // Adds a copy of element and returns true, or returns false and changes nothing when an
    // equal element is present already.
    bool insert(const T& element);

    // True when an element equal to element is present.
    bool search(const T& element) const;

    // Writes the count line, then the tree on its side: one element per line in descending order,
    // indented by three spaces per level below the root.
    void printP() const;

    // Writes the count line, then the elements in pre-order, one per line.
    void printPre() const;

    // Writes the count line, then the elements in post-order, one per line.
    void printPost() const;

  private:
    // Writes the subtree of node as the sideways drawing, node being at depth level.
    // REQUIRES: node != nullptr.
    void pretty_tree(const BSTNode<T>* node, int level) const;

    // Writes the subtree of node in pre-order. REQUIRES: node != nullptr.
    void print_nodesPre(const BSTNode<T>* node) const;

    // Writes the subtree of node in post-order. REQUIRES: node != nullptr.
    void print_nodesPost(const BSTNode<T>* node) const;

    // Writes "number of nodes: " and node_count as a line.
    void print_count_line() const;

    // Writes element as a line after indent spaces, flushing standard output.
    static void print_line(const T& element, int indent);

    BSTNode<T>* root;
    unsigned int node_count;
};

template <typename T>
BSTNode<T>::~BSTNode() {
    // A walk by pointer reversal: the path back up is kept in the links of the nodes on it, so
    // the walk needs neither recursion nor memory of its own. A node freed here has no children
    // left, so its own destructor returns at once.
    BSTNode* parent = nullptr;
    BSTNode* node = this;
    for (;;) {
        if (BSTNode* child = step_down(node, parent)) {
            parent = node;
            node = child;
        } else if (node == this) {
            return;
        } else {
            delete node;
            node = parent;
            parent = step_up(node);
        }
    }
}

template <typename T>
BSTNode<T>* BSTNode<T>::step_down(BSTNode* node, BSTNode* parent) {
    if (node->left_child != nullptr) {
        return std::exchange(node->left_child, parent);
    }
    if (node->right_child != nullptr) {
        node->left_child = node;
        return std::exchange(node->right_child, parent);
    }
    return nullptr;
}

template <typename T>
BSTNode<T>* BSTNode<T>::step_up(BSTNode* node) {
    if (node->left_child == node) {
        node->left_child = nullptr;
        return std::exchange(node->right_child, nullptr);
    }
    return std::exchange(node->left_child, nullptr);
}

template <typename T>
bool BSTree<T>::insert(const T& element) {
    BSTNode<T>** link = &root;
    while (*link != nullptr) {
        const BSTNode<T>* node = *link;
        if (element == node->content) {
            return false;
        }
        link = element < node->content ? &(*link)->left_child : &(*link)->right_child;
    }
    *link = new BSTNode<T>(element);
    ++node_count;
    return true;
}

template <typename T>
bool BSTree<T>::search(const T& element) const {
    const BSTNode<T>* node = root;
    while (node != nullptr) {
        if (element == node->content) {
            return true;
        }
        node = element < node->content ? node->left_child : node->right_child;
    }
    return false;
}

template <typename T>
void BSTree<T>::printP() const {
    print_count_line();
    if (root != nullptr) {
        pretty_tree(root, 0);
    }
}

template <typename T>
void BSTree<T>::printPre() const {
    print_count_line();
    if (root != nullptr) {
        print_nodesPre(root);
    }
}

template <typename T>
void BSTree<T>::printPost() const {
    print_count_line();
    if (root != nullptr) {
        print_nodesPost(root);
    }
}

template <typename T>
void BSTree<T>::pretty_tree(const BSTNode<T>* node, int level) const {
    // Reverse in-order walk; the stack holds the nodes whose right subtree is being written.
    std::vector<std::pair<const BSTNode<T>*, int>> ancestors;
    while (node != nullptr || !ancestors.empty()) {
        while (node != nullptr) {
            ancestors.emplace_back(node, level);
            node = node->right_child;
            ++level;
        }
        std::tie(node, level) = ancestors.back();
        ancestors.pop_back();
        print_line(node->content, 3 * level);
        node = node->left_child;
        ++level;
    }
}

template <typename T>
void BSTree<T>::print_nodesPre(const BSTNode<T>* node) const {
    std::vector<const BSTNode<T>*> pending{node};
    while (!pending.empty()) {
        node = pending.back();
        pending.pop_back();
        print_line(node->const_content(), 0);
        if (node->right_child != nullptr) {
            pending.push_back(node->right_child);
        }
        if (node->left_child != nullptr) {
            pending.push_back(node->left_child);
        }
    }
}

template <typename T>
void BSTree<T>::print_nodesPost(const BSTNode<T>* node) const {
    // The stack holds the path down from the subtree's root. Comparing the node on top with the
    // one visited just before tells whether the walk is going down, or coming back up from the
    // left or from the right subtree.
    std::vector<const BSTNode<T>*> path{node};
    const BSTNode<T>* previous = nullptr;
    while (!path.empty()) {
        node = path.back();
        const bool going_down =
            previous == nullptr || previous->left_child == node || previous->right_child == node;
        const BSTNode<T>* next = nullptr;
        if (going_down) {
            next = node->left_child != nullptr ? node->left_child : node->right_child;
        } else if (previous == node->left_child) {
            next = node->right_child;
        }
        if (next != nullptr) {
            path.push_back(next);
        } else {
            print_line(node->const_content(), 0);
            path.pop_back();
        }
        previous = node;
    }
}

template <typename T>
void BSTree<T>::print_count_line() const {
    std::cout << "number of nodes: " << node_count << std::endl;
}

template <typename T>
void BSTree<T>::print_line(const T& element, int indent) {
    static constexpr char kBlanks[] =
        "                                                                ";
    constexpr int kChunk = sizeof kBlanks - 1;
    for (; indent > 0; indent -= kChunk) {
        std::cout.write(kBlanks, indent < kChunk ? indent : kChunk);
    }
    std::cout << element << std::endl;
}

#endif  // BST_BSTREE_H_
