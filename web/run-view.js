// The run: Run starts the program with the form's inputs (run-program.js); while it runs, the
// state line tells its seconds and the bytes written so far, the results show its output as it
// comes, and Stop ends it at once. Once it has ended, the state line says how, and the results
// show it whole. From Run until then, Run is disabled and says why, and Stop shows only while
// the program runs.

import {counted, formatCount, seconds} from "./numbers.js";
import {quoted} from "./quoted.js";
import {argumentsOf} from "./run-inputs.js";
import {OUTPUT_LIMIT, run} from "./run-program.js";

// How often the state line tells the time and bytes of a run in progress.
const PROGRESS_MS = 500;

export class RunView {
  // form: the form, whose inputs a run takes; results: where the run's results are shown.
  constructor(state, form, results) {
    this.state = state;
    this.form = form;
    this.results = results;
    const $ = (id) => document.getElementById(id);
    this.runButton = $("run");
    this.stopButton = $("stop");
    this.line = $("run-state");
    this.runReason = $("run-reason");
    $("run-form").addEventListener("submit", (event) => {
      event.preventDefault();
      this.run();
    });
    this.stopButton.addEventListener("click", () => this.state.running?.controller.abort());
  }

  // Run is disabled (aria-disabled: it keeps the focus, and says why) from Run until the
  // results are shown; Stop shows only while the program runs.
  showButtons() {
    const {running} = this.state;
    this.runButton.setAttribute("aria-disabled", String(running !== null));
    this.runReason.textContent =
      running === null
        ? ""
        : running.ended
          ? "Run waits while the output of this run is kept and shown."
          : "Run waits until this run ends, or Stop ends it.";
    if (running?.ended && document.activeElement === this.stopButton) {
      this.runButton.focus();
    }
    this.stopButton.hidden = running === null || running.ended;
  }

  say(text, failed = false) {
    this.line.textContent = text;
    this.line.classList.toggle("failed", failed);
  }

  showProgress() {
    const {program, started} = this.state.running;
    const written = this.results.written();
    this.say(
      `Running ${program}… ${Math.floor((performance.now() - started) / 1000)} s, ` +
        (written === 0 ? "nothing written yet" : `${counted(written, "byte")} written`),
    );
    this.results.showHeads();
  }

  // What the state line says of a run that did not exit.
  endOf(program, error, elapsed) {
    switch (error.reason) {
      case "stopped":
        return (
          `Stopped after ${seconds(elapsed)}: ${program} had written ` +
          `${counted(this.results.written(), "byte")}, shown below.`
        );
      case "output-limit":
        return (
          `Stopped at the output limit: ${program} wrote more than ` +
          `${formatCount(OUTPUT_LIMIT)} bytes (1 GiB) in ${seconds(elapsed)}; the first ` +
          `${formatCount(OUTPUT_LIMIT)} are kept.`
        );
      default:
        return `The run did not finish: ${error.message}.`;
    }
  }

  async run() {
    if (this.state.running) {
      return; // Run starts no second run while one goes on
    }
    const inputs = this.form.read();
    const files = {};
    for (const {name, bytes} of inputs.files) {
      if (Object.hasOwn(files, name)) {
        this.say(`Two files are named ${quoted(name)}: rename one.`, true);
        return;
      }
      files[name] = bytes;
    }
    const {program} = inputs;
    const {controller, started} = this.state.runStarted(program);
    this.results.clear();
    this.showButtons();
    this.showProgress();
    const ticker = setInterval(() => this.showProgress(), PROGRESS_MS);
    const args = argumentsOf(inputs.args);
    let status = null;
    let kept = null;
    try {
      ({status, kept} = await run(
        program,
        {args, files, stdin: inputs.stdin},
        {
          signal: controller.signal,
          receive: (stream, bytes) => this.results.receive(stream, bytes),
        },
      ));
      this.say(
        `${program} exited with status ${status} after ${seconds(performance.now() - started)}.`,
      );
    } catch (error) {
      kept = error.kept || null;
      this.say(this.endOf(program, error, performance.now() - started), true);
    }
    clearInterval(ticker);
    this.state.programEnded();
    this.showButtons();
    const stdout = await this.results.showEnded(program, status, kept);
    this.state.runEnded({
      program,
      args,
      files,
      status,
      kept: kept || {discard: () => {}},
      stdout,
    });
    await this.results.showLastRun(this.form.read().expected);
    this.state.resultsShown();
    this.showButtons();
  }
}
