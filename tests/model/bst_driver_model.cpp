// bst_driver: the word list scramble-dict.txt listed three ways, then one answer per query word.

#include <fstream>
#include <string>

#include "SearchTreeModel.h"
#include "program_models.h"

ProgramRun model_bst_driver(const std::vector<std::string>& /*args: ignored*/, std::istream& in) {
    std::ifstream dictionary = open_input("scramble-dict.txt");
    SearchTreeModel tree;
    for (std::string word; dictionary >> word;) {
        tree.insert(word);
    }
    ProgramRun run;
    run.out = tree.count_line() + tree.drawing() + tree.count_line() + tree.pre_order() +
              tree.count_line() + tree.post_order();
    for (std::string word; in >> word;) {
        run.out += (tree.contains(word) ? "found:      " : "not found:  ") + word + "\n";
    }
    return run;
}
