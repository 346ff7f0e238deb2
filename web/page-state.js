// The page's state, in one object: what the form's inputs stand for, the run going on and the
// last run. The inputs themselves are in the form's controls (form-view.js), which give them as
// bytes. Each change is one of the methods below, named for what happened; the module that makes
// a change does what follows from it, right there.

export class PageState {
  // Whether the inputs differ from the example last loaded: choosing another program then keeps
  // them, where it would otherwise load that program's example.
  edited = false;
  // The inputs that loading an example replaced, while they can be brought back; else null.
  replaced = null;
  // The run going on, from Run until its results are all shown: {program, controller (the
  // AbortController that stops it), started (performance.now()), ended (whether the program
  // has ended, and only its results are being kept and shown)}; else null.
  running = null;
  // The last run whose outputs are whole: {program, args, files (name to bytes), status (null
  // when the program did not exit), kept (its outputs, as run-program.js keeps them), stdout
  // (the Blob of its standard output; null when the browser could not keep it)}; else null.
  lastRun = null;

  inputsEdited() {
    this.edited = true;
  }

  // replaced: the inputs that the example replaced, where they had been edited; else null.
  exampleLoaded(replaced) {
    this.edited = false;
    this.replaced = replaced;
  }

  // Returns the inputs to bring back. REQUIRES: replaced is not null.
  inputsBroughtBack() {
    const inputs = this.replaced;
    this.edited = true;
    this.replaced = null;
    return inputs;
  }

  // Inputs came from a link, a saved run or the form kept across a reload.
  inputsOpened() {
    this.edited = true;
    this.replaced = null;
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
