// The results of a run: its exit status, both outputs as they come (output-view.js), with their
// downloads and copy buttons, the picture of what the program built (pictures/), and how the
// outputs and status compare with those expected (comparison-view.js). Also the results' own
// options: long lines wrapped or not, and the results enlarged over the whole window.

import {decoder} from "./bytes.js";
import {showComparison} from "./comparison-view.js";
import {formatCount} from "./numbers.js";
import {OutputView, STREAM_NAMES} from "./output-view.js";
import {PictureView} from "./pictures/picture-view.js";
import {quoted} from "./quoted.js";

// An output this large is copied only as far as the page shows it.
const LARGEST_COPIED = 16 << 20;
// How long after the last change of the expected output the comparisons are made anew, so that
// typing is not held up.
const PAUSE_MS = 400;

export class ResultsView {
  constructor(state) {
    this.state = state;
    const $ = (id) => document.getElementById(id);
    this.section = $("results");
    this.status = $("status");
    this.copyButtons = document.querySelectorAll(".copy-output");
    this.copyNote = $("copy-note");
    this.enlargeButton = $("enlarge");
    this.comparisons = $("comparisons");
    this.outputs = {stdout: new OutputView("stdout"), stderr: new OutputView("stderr")};
    this.picture = new PictureView($("picture"));
    this.pendingComparison = 0; // the timer of compareSoon
    for (const button of this.copyButtons) {
      button.addEventListener("click", () => this.copy(button.dataset.stream));
    }
    const wrap = $("wrap-lines");
    // A browser may bring the box back checked on a reload.
    const showWrap = () => this.section.classList.toggle("wrap-lines", wrap.checked);
    showWrap();
    wrap.addEventListener("change", showWrap);
    this.enlargeButton.addEventListener("click", () => this.enlarge(!this.enlarged()));
    document.addEventListener("keydown", (event) => {
      if (event.key === "Escape" && this.enlarged()) {
        this.enlarge(false);
        this.enlargeButton.focus();
      }
    });
  }

  // Empties the results for a run that starts, and marks them busy until it is shown whole.
  clear() {
    clearTimeout(this.pendingComparison); // the run compares when it ends
    this.outputs.stdout.clear();
    this.outputs.stderr.clear();
    this.clearComparisons();
    this.picture.clear();
    for (const button of this.copyButtons) {
      button.hidden = true;
    }
    this.copyNote.textContent = "";
    this.status.value = "";
    this.section.setAttribute("aria-busy", "true");
    this.section.classList.add("running");
    // On a narrow screen the results are below the form, out of sight of the Run button.
    if (this.section.getBoundingClientRect().top > window.innerHeight) {
      this.section.scrollIntoView();
    }
  }

  receive(stream, bytes) {
    this.outputs[stream].append(bytes);
  }

  // The bytes written so far, of both outputs.
  written() {
    return this.outputs.stdout.length + this.outputs.stderr.length;
  }

  showHeads() {
    this.outputs.stdout.showHead();
    this.outputs.stderr.showHead();
  }

  // Shows the ended run's exit status (null when the program did not exit) and its outputs
  // whole, from kept (as run-program.js keeps them; null when it kept none). Resolves to the
  // Blob of standard output, or null where the browser could not keep it.
  async showEnded(program, status, kept) {
    this.section.classList.remove("running");
    this.status.value = status === null ? "none" : String(status);
    this.outputs.stdout.showKeeping();
    this.outputs.stderr.showKeeping();
    const blobs = kept ? await kept.blobs().catch(() => ({})) : {};
    await this.outputs.stdout.finish(program, blobs.stdout);
    await this.outputs.stderr.finish(program, blobs.stderr);
    for (const button of this.copyButtons) {
      button.hidden = false;
    }
    return this.outputs.stdout.blob;
  }

  // Draws the picture of the last run, then compares it with expected; resolves, the results
  // no longer busy, once the comparisons are shown.
  async showLastRun(expected) {
    this.picture.show(this.state.lastRun);
    await this.compare(expected);
    this.section.setAttribute("aria-busy", "false");
  }

  clearComparisons() {
    this.comparisons.replaceChildren();
  }

  // The expected output of program may have changed: the comparisons go, and are made anew with
  // expected() once the changes pause, unless a run starts first. The last run is compared only
  // with what its own program should write.
  compareSoon(program, expected) {
    this.clearComparisons();
    clearTimeout(this.pendingComparison);
    const run = this.state.lastRun;
    if (run?.program === program) {
      this.pendingComparison = setTimeout(() => this.compare(expected()), PAUSE_MS);
      return;
    }
    const {stdout, stderr, status} = expected();
    if (run && stdout.length + stderr.length + status.trim().length > 0) {
      const note = document.createElement("p");
      note.textContent =
        `The last run is of ${run.program}: run ${program} to compare it with what it should ` +
        "write.";
      this.comparisons.append(note);
    }
  }

  // Compares the last run's outputs and exit status with expected ({stdout, stderr, status}, as
  // the form reads it), each where given; resolves when the comparisons are shown.
  async compare(expected) {
    this.clearComparisons();
    const run = this.state.lastRun;
    if (!run) {
      return;
    }
    const comparisons = [];
    for (const stream of ["stdout", "stderr"]) {
      const actual = this.outputs[stream].blob;
      if (expected[stream].length > 0 && actual) {
        const part = document.createElement("div");
        this.comparisons.append(part);
        comparisons.push(showComparison(part, STREAM_NAMES[stream], expected[stream], actual));
      }
    }
    const expectedStatus = expected.status.trim();
    if (expectedStatus !== "") {
      const line = document.createElement("p");
      const actual = run.status === null ? "none" : String(run.status);
      const same = expectedStatus === actual;
      // A status given as a number is the page's to show; any other text is the student's.
      const given = /^-?\d+$/.test(expectedStatus) ? expectedStatus : quoted(expectedStatus);
      line.className = `comparison-verdict ${same ? "same" : "differs"}`;
      line.textContent = same
        ? `Exit status: Same (${actual})`
        : `Exit status: expected ${given}, actual ${actual}`;
      this.comparisons.append(line);
    }
    // A run that starts meanwhile lets go of the outputs being read, and their reading fails:
    // the comparison was of a run no longer shown.
    await Promise.all(comparisons).catch((error) => {
      if (this.state.lastRun === run) {
        throw error;
      }
    });
  }

  // Copies an output as text; one too large to copy is copied as far as it is shown.
  async copy(stream) {
    const view = this.outputs[stream];
    const whole = view.length <= LARGEST_COPIED && view.blob !== null;
    const text = whole ? await view.blob.text() : decoder.decode(view.shownBytes());
    const name = STREAM_NAMES[stream].toLowerCase();
    try {
      await navigator.clipboard.writeText(text);
      this.copyNote.textContent = whole
        ? `Copied the ${name}.`
        : `Copied the first ${formatCount(view.shownBytes().length)} bytes of the ${name}, as ` +
          "shown; download it for the whole.";
    } catch {
      // Where the browser does not let the page copy, the text is selected for the student to.
      getSelection().selectAllChildren(view.shown);
      this.copyNote.textContent =
        `The browser did not let the page copy: the ${name} shown is ` +
        "selected, to copy with the keyboard.";
    }
  }

  enlarged() {
    return document.body.classList.contains("enlarged");
  }

  // Enlarged, the page shows the results alone (style.css), from their top; back, it shows the
  // button where it was pressed.
  enlarge(on) {
    document.body.classList.toggle("enlarged", on);
    this.enlargeButton.setAttribute("aria-pressed", String(on));
    this.enlargeButton.textContent = on ? "Back to the page" : "Enlarge for a projector";
    if (on) {
      window.scrollTo(0, 0);
    } else {
      this.enlargeButton.scrollIntoView({block: "nearest"});
    }
  }
}
