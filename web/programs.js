// The one list of the programs that the page runs, which every other part reads: the page's
// choice of program and what it says of each, the runner (which module to load), the pictures
// (which one draws a run) and the build (which program modules the site holds, which example
// files it embeds and which picture modules it copies: build-site.js). It is plain data, so that
// Node reads it at build time.
//
// Each entry:
//   name      the program's name, as on a command line, in a link to a run and in its argv[0]
//   module    the build target of its module: the site holds <module>.js, whose factory is
//             create_<module>, and <module>.wasm
//   summary   what it does, for the page to say when it is chosen
//   usage     its arguments, input files and standard input, in a sentence or two
//   example   the run that "Load example" fills in, as examples/demo.sh runs it: args, files
//             (names of files in examples/, each given under its own name) and stdin ({text}, or
//             {file}: a file of examples/)
//   picture   the module of pictures/ that draws a run of it (pictures/picture-view.js)

export const PROGRAMS = [
  {
    name: "go_shopping",
    module: "go_shopping",
    summary:
      "Simulates an online store: loads a catalogue of at most 20 products into an array and " +
      "applies customers' transactions to shopping carts held in linked lists.",
    usage:
      "No arguments. Standard input: the products file name, then the transactions file name " +
      "(or - to read the transactions from standard input itself).",
    example: {
      args: [],
      files: ["products.txt", "transactions.txt"],
      stdin: {text: "products.txt\ntransactions.txt\n"},
    },
    picture: "carts",
  },
  {
    name: "bst_driver",
    module: "bst_driver",
    summary:
      "Loads a word list into a binary search tree, prints the tree three ways and answers " +
      "whether each word of standard input is in the list.",
    usage:
      "Input file: scramble-dict.txt, the word list. Standard input: the words to look up. " +
      "Arguments are ignored.",
    example: {args: [], files: ["scramble-dict.txt"], stdin: {file: "bst-queries.txt"}},
    picture: "tree",
  },
  {
    name: "word_count_driver",
    module: "word_count_driver",
    summary:
      "Counts the words of a text file in a binary search tree of words with their counts, and " +
      "prints those that occur more often than COUNT, in descending order.",
    usage: "Arguments: FILE and COUNT. Input file: the text file.",
    example: {args: ["sample-text.txt", "1"], files: ["sample-text.txt"], stdin: {text: ""}},
    picture: "word-counts",
  },
  {
    name: "word_count_solution",
    module: "word_count_solution",
    summary:
      "Counts the words of a text file as word_count_driver does, counting each word as it " +
      "reads it into a binary search tree of its own.",
    usage: "Arguments: FILE and COUNT. Input file: the text file.",
    example: {args: ["sample-text.txt", "3"], files: ["sample-text.txt"], stdin: {text: ""}},
    picture: "word-counts",
  },
  {
    name: "roster_test",
    module: "roster_test",
    summary:
      "Reads names, one per line, into an alphabetically ordered linked list, twice (with add " +
      "and with +=), and prints both lists.",
    usage: "Argument: FILE, the names file. Input file: the names, one per line.",
    example: {args: ["names.txt"], files: ["names.txt"], stdin: {text: ""}},
    picture: "rosters",
  },
];

// The entry of the program of that name; undefined for a name that is none of them.
export function programNamed(name) {
  return PROGRAMS.find((program) => program.name === name);
}
