// The picture of a finished run, below its text output: each program's structure drawn from
// the program's own output, read in a worker (analysis-worker.js), or one line that says why
// there is none.

import {drawCarts, drawRosters} from "./lists.js";
import {drawTree} from "./tree.js";
import {drawWordCounts} from "./word-counts.js";

const DRAWERS = {
  bst_driver: drawTree,
  word_count_driver: drawWordCounts,
  word_count_solution: drawWordCounts,
  roster_test: drawRosters,
  go_shopping: drawCarts,
};

const WORKER_URL = new URL("../analysis-worker.js", import.meta.url);
let worker = null;

function say(holder, text) {
  const line = document.createElement("p");
  line.className = "picture-note";
  line.textContent = text;
  holder.replaceChildren(line);
}

// Empties holder, ending the reading of an earlier run.
export function clearPicture(holder) {
  if (worker) {
    worker.terminate();
    worker = null;
  }
  holder.replaceChildren();
}

// Draws into holder the picture of run: {program, status (null when the program did not exit),
// stdout (a Blob; null when the browser could not keep it), args, files}.
export function showPicture(holder, run) {
  clearPicture(holder);
  if (run.stdout === null) {
    say(holder, "No picture: this browser could not keep the whole output.");
    return;
  }
  if (run.status === null) {
    say(holder, "No picture: the run did not end, so its output is not whole.");
    return;
  }
  if (run.status !== 0) {
    say(
      holder,
      `No picture: ${run.program} ended with status ${run.status}, so its output is ` +
        "not the listing the picture is drawn from.",
    );
    return;
  }
  say(holder, "Drawing the picture…");
  worker = new Worker(WORKER_URL, {type: "module"});
  worker.onmessage = ({data}) => {
    worker.terminate();
    worker = null;
    if (data.structure) {
      DRAWERS[run.program](holder, data.structure);
    } else if (data.kind === "disagreement") {
      say(
        holder,
        run.program.startsWith("word_count")
          ? `No picture: the page's count and the program's report disagree: ${data.failure}.`
          : `No picture: the program's output disagrees with itself: ${data.failure}.`,
      );
    } else if (data.kind === "form") {
      say(
        holder,
        `No picture: the output is not in the form ${run.program} writes ` + `(${data.failure}).`,
      );
    } else {
      say(holder, `No picture: ${data.failure}.`);
    }
  };
  worker.onerror = (event) => {
    event.preventDefault();
    say(holder, `No picture: the page could not read the output (${event.message}).`);
  };
  worker.postMessage({program: run.program, stdout: run.stdout, args: run.args, files: run.files});
}
