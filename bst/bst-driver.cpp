// bst_driver: loads the word list scramble-dict.txt into a search tree, prints the tree three
// ways, then answers for each word on standard input whether it is in the list.
#include <fstream>
#include <iostream>
#include <string>

#include "BSTree.h"
#include "standard_output.h"

namespace {

const char kDictionary[] = "scramble-dict.txt";

int cannot_open_dictionary() {
    std::cerr << "cannot open scramble-dict for input" << std::endl;
    return 1;
}

}  // namespace

int main() {
    // Unsynchronised standard streams report a read error as an error rather than as the end of
    // the input.
    std::ios::sync_with_stdio(false);

    BSTree<std::string> tree;
    std::string word;
    std::ifstream dictionary(kDictionary);
    if (!dictionary) {
        return cannot_open_dictionary();
    }
    while (dictionary >> word) {
        tree.insert(word);
    }
    if (dictionary.bad()) {
        return cannot_open_dictionary();
    }
    dictionary.close();

    tree.printP();
    tree.printPre();
    tree.printPost();
    if (standard_output_lost()) {
        return report_write_error();
    }

    // Each answer is flushed as it is written, so a failed write shows at once and no further
    // query is read for an answer that would be lost.
    while (std::cin >> word) {
        std::cout << (tree.search(word) ? "found:      " : "not found:  ") << word << std::endl;
        if (standard_output_lost()) {
            return report_write_error();
        }
    }
    if (std::cin.bad()) {
        std::cerr << "cannot read the query words from standard input" << std::endl;
        return 1;
    }
    return finish_standard_output();
}
