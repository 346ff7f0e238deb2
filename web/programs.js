// What the page tells about each program, and the example it loads for it: the arguments, the
// files of examples/ (embedded by examples.js) and standard input, as examples/demo.sh runs them.
"use strict";

window.PROGRAMS = {
  go_shopping: {
    summary: "Simulates an online store: loads a catalogue of at most 20 products into an " +
             "array and applies customers' transactions to shopping carts held in linked lists.",
    usage: "No arguments. Standard input: the products file name, then the transactions " +
           "file name (or - to read the transactions from standard input itself).",
    example: {args: [], files: ["products.txt", "transactions.txt"],
              stdin: {text: "products.txt\ntransactions.txt\n"}},
  },
  bst_driver: {
    summary: "Loads a word list into a binary search tree, prints the tree three ways and " +
             "answers whether each word of standard input is in the list.",
    usage: "Input file: scramble-dict.txt, the word list. Standard input: the words to look " +
           "up. Arguments are ignored.",
    example: {args: [], files: ["scramble-dict.txt"], stdin: {file: "bst-queries.txt"}},
  },
  word_count_driver: {
    summary: "Counts the words of a text file in a binary search tree of words with their " +
             "counts, and prints those that occur more often than COUNT, in descending order.",
    usage: "Arguments: FILE and COUNT. Input file: the text file.",
    example: {args: ["sample-text.txt", "1"], files: ["sample-text.txt"], stdin: {text: ""}},
  },
  word_count_solution: {
    summary: "Counts the words of a text file as word_count_driver does, counting each word " +
             "as it reads it into a binary search tree of its own.",
    usage: "Arguments: FILE and COUNT. Input file: the text file.",
    example: {args: ["sample-text.txt", "3"], files: ["sample-text.txt"], stdin: {text: ""}},
  },
  roster_test: {
    summary: "Reads names, one per line, into an alphabetically ordered linked list, twice " +
             "(with add and with +=), and prints both lists.",
    usage: "Argument: FILE, the names file. Input file: the names, one per line.",
    example: {args: ["names.txt"], files: ["names.txt"], stdin: {text: ""}},
  },
};
