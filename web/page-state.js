// The page's state, in one object: each program's inputs, the run going on and the last run. The
// inputs of the program chosen are also in the form's controls (form-view.js), which give them
// as bytes. Each change is one of the methods below, named for what happened; the module that
// makes a change does what follows from it, right there.

export class PageState {
  // Each program's own inputs, where they are not its example: as the form reads them, with
  // `dropped` naming those that were too large to keep across a reload, where they came from the
  // browser's storage. A program that has none here shows its example when chosen.
  inputs = new Map();
  // Each program's inputs that loading its example replaced, while they can be brought back.
  replaced = new Map();
  // The run going on, from Run until its results are all shown: {program, controller (the
  // AbortController that stops it), started (performance.now()), ended (whether the program
  // has ended, and only its results are being kept and shown)}; else null.
  running = null;
  // The last run whose outputs are whole: {program, args, files (name to bytes), status (null
  // when the program did not exit), kept (its outputs, as run-program.js keeps them), stdout
  // (the Blob of its standard output; null when the browser could not keep it)}; else null.
  lastRun = null;

  // The student changed the inputs of their program, which are now `inputs`.
  inputsEdited(inputs) {
    this.inputs.set(inputs.program, inputs);
  }

  // The program's example replaced its inputs; those it had, if any, can be brought back.
  exampleLoaded(program) {
    if (this.inputs.has(program)) {
      this.replaced.set(program, this.inputs.get(program));
    }
    this.inputs.delete(program);
  }

  // Returns the inputs to bring back. REQUIRES: the program has inputs replaced.
  inputsBroughtBack(program) {
    const inputs = this.replaced.get(program);
    this.replaced.delete(program);
    this.inputs.set(program, inputs);
    return inputs;
  }

  // Inputs came from a link, a saved run or the browser's storage.
  inputsOpened(inputs) {
    this.inputs.set(inputs.program, inputs);
    this.replaced.delete(inputs.program);
  }

  // The last run's outputs are let go. REQUIRES: no run is going on.
  runStarted(program) {
    this.lastRun?.kept.discard();
    this.lastRun = null;
    this.running = {
      program,
      controller: new AbortController(),
      started: performance.now(),
      ended: false,
    };
    return this.running;
  }

  // The program has ended; its results are being kept and shown.
  programEnded() {
    this.running.ended = true;
  }

  runEnded(lastRun) {
    this.lastRun = lastRun;
  }

  resultsShown() {
    this.running = null;
  }
}
