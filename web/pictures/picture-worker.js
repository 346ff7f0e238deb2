// Reads a finished run's output into the structure that its picture shows, away from the page
// (picture-view.js). The page posts {picture, stdout, args, files}, picture the name of the
// picture's module; the worker posts {structure} or {failure, kind}, kind "format" (the output is
// not in the program's format), "disagreement" (its parts, or the page's own reading of the
// input, disagree) or "error".

import {Disagreement, NotInFormat} from "./lines.js";

self.onmessage = async ({data: {picture, stdout, args, files}}) => {
  try {
    const {read} = await import(`./${picture}.js`);
    self.postMessage({structure: await read({stdout, args, files})});
  } catch (error) {
    const kind =
      error instanceof NotInFormat
        ? "format"
        : error instanceof Disagreement
          ? "disagreement"
          : "error";
    self.postMessage({failure: error.message, kind});
  }
};
