// The picture of a finished run, below its text output: the structure that the program built,
// read from its own output in a worker (picture-worker.js), as an output may run to hundreds of
// megabytes, and drawn on the page; or one line that says why there is none.
//
// A picture is a module of this folder, which programs.js names for each program it serves. It
// exports:
//   read({stdout, args, files})   in the worker: resolves to the structure that the run's output
//                                 shows (plain data, as a worker posts it); stdout is a Blob of
//                                 the whole standard output, args the arguments, files the input
//                                 files (name to Uint8Array). It rejects with NotInFormat or
//                                 Disagreement (lines.js) when the output shows no such
//                                 structure, the message saying where.
//   draw(holder, structure)       on the page: replaces holder's children with the picture, every
//                                 text in it as text, never as markup (svg.js).
//   DISAGREEMENT                  where read can reject with a Disagreement: what one means for
//                                 this picture, as the page says it.

import {copiesToTransfer} from "../bytes.js";
import {programNamed} from "../programs.js";

const WORKER_URL = new URL("picture-worker.js", import.meta.url);

export class PictureView {
  // holder: the element that the picture, or the line saying why there is none, goes into.
  constructor(holder) {
    this.holder = holder;
    this.worker = null;
  }

  say(text) {
    const line = document.createElement("p");
    line.className = "picture-note";
    line.textContent = text;
    this.holder.replaceChildren(line);
  }

  // Empties the picture, ending the reading of an earlier run.
  clear() {
    this.worker?.terminate();
    this.worker = null;
    this.holder.replaceChildren();
  }

  // Draws the picture of run: {program, status (null when the program did not exit), stdout (a
  // Blob; null when the browser could not keep it), args, files}.
  show(run) {
    this.clear();
    if (run.stdout === null) {
      this.say("No picture: this browser could not keep the whole output.");
      return;
    }
    if (run.status === null) {
      this.say("No picture: the run did not end, so its output is not whole.");
      return;
    }
    if (run.status !== 0) {
      this.say(
        `No picture: ${run.program} ended with status ${run.status}, so its output is ` +
          "not the listing the picture is drawn from.",
      );
      return;
    }
    this.say("Drawing the picture…");
    const {picture} = programNamed(run.program);
    const drawing = import(`./${picture}.js`);
    const worker = new Worker(WORKER_URL, {type: "module"});
    this.worker = worker;
    worker.onmessage = async ({data}) => {
      worker.terminate();
      const {draw, DISAGREEMENT} = await drawing;
      if (this.worker !== worker) {
        return; // cleared meanwhile
      }
      this.worker = null;
      if (data.structure) {
        draw(this.holder, data.structure);
      } else if (data.kind === "disagreement") {
        this.say(`No picture: ${DISAGREEMENT}: ${data.failure}.`);
      } else if (data.kind === "format") {
        this.say(
          `No picture: the output is not in the form ${run.program} writes (${data.failure}).`,
        );
      } else {
        this.say(`No picture: ${data.failure}.`);
      }
    };
    worker.onerror = (event) => {
      event.preventDefault();
      this.say(`No picture: the page could not read the output (${event.message}).`);
    };
    const [files, buffers] = copiesToTransfer(run.files);
    worker.postMessage({picture, stdout: run.stdout, args: run.args, files}, buffers);
  }
}
