// One output stream of a run as the page shows it: the bytes arrive in pieces while the program
// runs; the page shows at most the first SHOWN_OUTPUT_LIMIT of them, as text, says how many more
// there are, and offers all of them, kept by the run (run-program.js), for download, byte for
// byte.

import {counted, decoder, formatCount} from "./byte-field.js";

const SHOWN_OUTPUT_LIMIT = 1 << 20;

const NAMES = {stdout: "standard output", stderr: "standard error"};

// The first bytes of `bytes` up to limit, not cutting a UTF-8 sequence in two.
function headOf(bytes, limit) {
  if (bytes.length <= limit) {
    return bytes;
  }
  let end = limit;
  // Back over continuation bytes (10xxxxxx) to the start of the sequence cut at the limit.
  for (let back = 0; back < 3 && end > 0 && (bytes[end] & 0xc0) === 0x80; back += 1) {
    end -= 1;
  }
  return bytes.subarray(0, end);
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
    this.head = new Uint8Array(SHOWN_OUTPUT_LIMIT);
    this.headLength = 0;
    this.length = 0;
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
    const headTaken = Math.min(bytes.length, SHOWN_OUTPUT_LIMIT - this.headLength);
    this.head.set(bytes.subarray(0, headTaken), this.headLength);
    this.headLength += headTaken;
    this.length += bytes.length;
  }

  // The bytes that the page shows (at most SHOWN_OUTPUT_LIMIT).
  shownBytes() {
    return headOf(this.head.subarray(0, this.headLength), SHOWN_OUTPUT_LIMIT);
  }

  // Shows the head as it stands; cheap when it has not grown since last shown.
  showHead() {
    if (this.headShown !== this.headLength) {
      this.headShown = this.headLength;
      this.shown.textContent = decoder.decode(this.shownBytes());
    }
  }

  // Says, of an output larger than shown, that it is being made ready for download.
  showKeeping() {
    if (this.length > SHOWN_OUTPUT_LIMIT) {
      this.note.textContent = `Keeping all ${formatCount(this.length)} bytes for download…`;
      this.note.hidden = false;
    }
  }

  // Shows the output as it ended: its head, how much is not shown, and the download link of
  // blob, every byte written. Resolves to whether the browser could keep them all.
  async finish(program, blob) {
    this.showHead();
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
      return false;
    }
    this.blob = blob;
    const url = URL.createObjectURL(blob);
    const name = `${program}-${this.stream}.txt`;
    this.link.href = url;
    this.link.download = name;
    this.link.textContent = `Download ${NAMES[this.stream]} (${counted(this.length, "byte")})`;
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
    return true;
  }
}
