// Reads a finished run's output into the structure its picture shows, away from the page:
// an output may run to hundreds of megabytes. The page posts {program, stdout (a Blob), args,
// files}; the worker posts {structure} or {failure, kind}, kind "form" (the output is not in the
// program's form), "disagreement" (its parts, or the page's own count, disagree) or "error".
import {Disagreement, NotInForm} from "./pictures/lines.js";
import {readCarts, readRosters} from "./pictures/lists.js";
import {readTree} from "./pictures/tree.js";
import {readWordCounts} from "./pictures/word-counts.js";

const READERS = {
  bst_driver: ({stdout}) => readTree(stdout),
  word_count_driver: ({stdout, args, files}) => readWordCounts(stdout, args, files),
  word_count_solution: ({stdout, args, files}) => readWordCounts(stdout, args, files),
  roster_test: ({stdout}) => readRosters(stdout),
  go_shopping: ({stdout}) => readCarts(stdout),
};

self.onmessage = async ({data}) => {
  try {
    self.postMessage({structure: await READERS[data.program](data)});
  } catch (error) {
    const kind =
      error instanceof NotInForm
        ? "form"
        : error instanceof Disagreement
          ? "disagreement"
          : "error";
    self.postMessage({failure: error.message, kind});
  }
};
