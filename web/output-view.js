// One output stream of a run as the page shows it: the bytes arrive in pieces while the program
// runs; the page shows at most the first SHOWN_OUTPUT_LIMIT of them, as text, says how many more
// there are, and offers all of them, kept by the run (run-program.js), for download, byte for
// byte.

import {decoder, utf8Head} from "./bytes.js";
import {counted, formatCount} from "./numbers.js";

const SHOWN_OUTPUT_LIMIT = 1 << 20;
const BLOCK_CHARACTERS = 16384;
const REVEAL_MS = 50;

// The streams' names, as a heading gives them.
export const STREAM_NAMES = {stdout: "Standard output", stderr: "Standard error"};

// The first bytes of an output, kept as they arrive, of which at most `limit` are shown: never
// ending in a character cut in two, where more bytes follow. It keeps one byte more than it
// shows, which says whether the limit cuts a character.
export class OutputHead {
  constructor(limit) {
    this.limit = limit;
    this.kept = new Uint8Array(limit + 1);
    this.keptLength = 0;
    this.length = 0; // of the whole output so far
  }

  append(bytes) {
    const taken = Math.min(bytes.length, this.kept.length - this.keptLength);
    this.kept.set(bytes.subarray(0, taken), this.keptLength);
    this.keptLength += taken;
    this.length += bytes.length;
  }

  shownBytes() {
    return utf8Head(this.kept.subarray(0, this.keptLength), this.limit);
  }
}

// The text in blocks of whole lines, of about BLOCK_CHARACTERS each. A browser lays out a block
// of `content-visibility: auto` (style.css) in its first frame, then only while it is in sight,
// where a megabyte of text laid out at once would hold the page up for half a second. So every
// block but the first starts hidden, as high as its lines unwrapped, to be revealed by
// revealBlocks().
function textBlocks(text) {
  const blocks = [];
  for (let start = 0; start < text.length; ) {
    const lineEnd = text.indexOf("\n", start + BLOCK_CHARACTERS);
    const end = lineEnd === -1 ? text.length : lineEnd + 1;
    const block = document.createElement("span");
    block.className = "output-block";
    block.textContent = text.slice(start, end);
    let lines = 1;
    for (let at = text.indexOf("\n", start); at !== -1 && at < end - 1; ) {
      lines += 1;
      at = text.indexOf("\n", at + 1);
    }
    block.style.containIntrinsicSize = `auto ${lines}lh`;
    if (blocks.length > 0) {
      block.style.contentVisibility = "hidden";
    }
    blocks.push(block);
    start = end;
  }
  return blocks;
}

// Reveals the hidden blocks of textBlocks() one at a time, REVEAL_MS apart, leaving the page's
// thread free between them: a block of one line of tens of thousands of spaces (a sorted tree's
// listing) takes WebKit up to 200 ms to lay out. Blocks replaced meanwhile are left alone.
function revealBlocks(blocks) {
  const hidden = blocks.filter((block) => block.style.contentVisibility === "hidden");
  const reveal = () => {
    const block = hidden.shift();
    if (block?.isConnected) {
      block.style.removeProperty("content-visibility");
      setTimeout(reveal, REVEAL_MS);
    }
  };
  setTimeout(reveal, REVEAL_MS);
}

export class OutputView {
  // stream: "stdout" or "stderr", the id of the pre that shows it; the page also has the
  // elements `${stream}-note` and `${stream}-download`.
  constructor(stream) {
    this.stream = stream;
    this.shown = document.getElementById(stream);
    this.note = document.getElementById(`${stream}-note`);
    this.link = document.getElementById(`${stream}-download`);
    this.clear();
  }

  clear() {
    this.head = new OutputHead(SHOWN_OUTPUT_LIMIT);
    this.blob = null;
    this.headShown = 0;
    this.shown.textContent = "";
    this.note.textContent = "";
    this.note.hidden = true;
    if (this.link.href) {
      URL.revokeObjectURL(this.link.href);
      this.link.removeAttribute("href");
    }
    this.link.hidden = true;
  }

  append(bytes) {
    this.head.append(bytes);
  }

  // The bytes written so far.
  get length() {
    return this.head.length;
  }

  // The bytes that the page shows (at most SHOWN_OUTPUT_LIMIT).
  shownBytes() {
    return this.head.shownBytes();
  }

  // Shows the head as it stands; cheap when it has not grown since last shown.
  showHead() {
    if (this.headShown !== this.head.keptLength) {
      this.headShown = this.head.keptLength;
      this.shown.replaceChildren(...textBlocks(decoder.decode(this.shownBytes())));
    }
  }

  // Shows the head whole; while a run goes on, only its first lines are laid out, as they may
  // be laid out many times over.
  showWholeHead() {
    this.showHead();
    revealBlocks([...this.shown.children]);
  }

  // Says, of an output larger than shown, that it is being made ready for download.
  showKeeping() {
    if (this.length > SHOWN_OUTPUT_LIMIT) {
      this.note.textContent = `Keeping all ${formatCount(this.length)} bytes for download…`;
      this.note.hidden = false;
    }
  }

  // Shows the output as it ended: its head, how much is not shown, and the download link of
  // blob, every byte written, which becomes this.blob; where the browser could not keep them
  // all, says so, and this.blob stays null.
  async finish(program, blob) {
    this.showWholeHead();
    try {
      // A browser that cannot hold a Blob so large makes it, but fails to read it.
      await blob.slice(Math.max(0, blob.size - 1)).arrayBuffer();
      if (blob.size !== this.length) {
        throw new Error("bytes missing");
      }
    } catch {
      this.note.textContent =
        `This browser could not keep all ${formatCount(this.length)} ` +
        "bytes of this output: only those shown here are left.";
      this.note.hidden = false;
      return;
    }
    this.blob = blob;
    const url = URL.createObjectURL(blob);
    const name = `${program}-${this.stream}.txt`;
    this.link.href = url;
    this.link.download = name;
    this.link.textContent = `Download ${STREAM_NAMES[this.stream].toLowerCase()} (${counted(this.length, "byte")})`;
    this.link.hidden = false;
    const shown = this.shownBytes().length;
    if (shown < this.length) {
      const whole = document.createElement("a");
      whole.href = url;
      whole.download = name;
      whole.textContent = "Download the whole output.";
      this.note.replaceChildren(
        `Showing the first ${formatCount(shown)} of ${formatCount(this.length)} bytes. `,
        whole,
      );
      this.note.hidden = false;
    }
  }
}
