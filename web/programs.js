// The example the page loads for each program: its arguments, the files of examples/ (embedded
// by examples.js) and its standard input, as examples/demo.sh runs them. What the page says of
// each program is in index.html.
"use strict";

export const EXAMPLES = {
  go_shopping: {
    args: [],
    files: ["products.txt", "transactions.txt"],
    stdin: {text: "products.txt\ntransactions.txt\n"},
  },
  bst_driver: {args: [], files: ["scramble-dict.txt"], stdin: {file: "bst-queries.txt"}},
  word_count_driver: {
    args: ["sample-text.txt", "1"],
    files: ["sample-text.txt"],
    stdin: {text: ""},
  },
  word_count_solution: {
    args: ["sample-text.txt", "3"],
    files: ["sample-text.txt"],
    stdin: {text: ""},
  },
  roster_test: {args: ["names.txt"], files: ["names.txt"], stdin: {text: ""}},
};
