// A text box that holds bytes: those typed, in UTF-8, or those loaded into it (an upload, an
// example, a restored run) until its text is edited. A text box keeps no carriage return and no
// byte that is not UTF-8, so loaded bytes are sent as they were loaded, not as they are shown,
// and a note says which lines the box cannot show. Bytes beyond SHOWN_INPUT_LIMIT are not put
// into the box at all, which would hold up the page for seconds on each keystroke: the field
// shows their name, size and first lines instead, and keeps them until they are replaced or
// removed.

import {decoder, encoder} from "./bytes.js";
import {counted} from "./numbers.js";
import {quoted} from "./quoted.js";

const SHOWN_INPUT_LIMIT = 1 << 20;
// How much of a large input its summary shows.
const HEAD_LINES = 8;
const HEAD_LINE_CHARACTERS = 120;

const strictDecoder = new TextDecoder("utf-8", {ignoreBOM: true, fatal: true});

// The byte offsets at which each line of bytes starts, the line end (LF) staying with its line.
function lineStarts(bytes) {
  const starts = [0];
  for (
    let at = bytes.indexOf(10);
    at !== -1 && at + 1 < bytes.length;
    at = bytes.indexOf(10, at + 1)
  ) {
    starts.push(at + 1);
  }
  return starts;
}

// What a text box would change in bytes that are to be shown in it, as a sentence, or "".
function unshownBytes(bytes) {
  const starts = lineStarts(bytes);
  let crlf = 0;
  let loneCr = 0;
  let notUtf8 = 0;
  starts.forEach((start, index) => {
    const line = bytes.subarray(
      start,
      index + 1 < starts.length ? starts[index + 1] : bytes.length,
    );
    for (let at = line.indexOf(13); at !== -1; at = line.indexOf(13, at + 1)) {
      if (line[at + 1] === 10) {
        crlf += 1;
      } else {
        loneCr += 1;
      }
    }
    try {
      strictDecoder.decode(line);
    } catch {
      notUtf8 += 1;
    }
  });
  const kinds = [];
  if (crlf > 0) {
    kinds.push(
      `${counted(crlf, "line")} ${crlf === 1 ? "ends" : "end"} in CR LF (Windows line ends)`,
    );
  }
  if (loneCr > 0) {
    kinds.push(
      `${counted(loneCr, "carriage return")} (CR) not before a line end ` +
        `${loneCr === 1 ? "shows" : "show"} as a line end`,
    );
  }
  if (notUtf8 > 0) {
    kinds.push(
      `${counted(notUtf8, "line")} ${notUtf8 === 1 ? "holds" : "hold"} bytes that ` +
        "are not UTF-8, shown as \uFFFD",
    );
  }
  if (kinds.length === 0) {
    return "";
  }
  return (
    `${kinds.join("; ")}. The run gets them as loaded; typing here replaces them ` +
    "with what the box shows."
  );
}

// The summary of a large input: its name, size and first lines.
function summaryOf(name, bytes) {
  const starts = lineStarts(bytes);
  const lines = starts.length;
  const head = starts.slice(0, HEAD_LINES).map((start, index) => {
    const end = index + 1 < starts.length ? starts[index + 1] - 1 : bytes.length;
    const text = decoder.decode(
      bytes.subarray(start, Math.min(end, start + 4 * HEAD_LINE_CHARACTERS)),
    );
    return text.length > HEAD_LINE_CHARACTERS ? `${text.slice(0, HEAD_LINE_CHARACTERS)}…` : text;
  });
  return {
    text:
      `${name ? `${quoted(name)}: ` : ""}${counted(bytes.length, "byte")} in ` +
      `${counted(lines, "line")}, too large to edit here; sent as loaded. ` +
      `${lines > HEAD_LINES ? `The first ${HEAD_LINES} lines:` : "Its lines:"}`,
    head: head.join("\n"),
  };
}

export class ByteField {
  // textarea: the box; note: where the box's note goes; hide: the element hidden with the box
  // for a large input (the box's own label, say). The large input's summary is made from
  // largeTemplate (a <template> holding a .large block with a .large-summary paragraph, a
  // .large-head pre and a .remove-large button) and put after hide; its button, named
  // removeLabel, empties the field, and a field with no removeLabel has none. onEdit is called
  // after every change that the student makes in the field: typing, or removing a large input.
  constructor({textarea, note, hide = textarea, largeTemplate, removeLabel = "", onEdit}) {
    this.textarea = textarea;
    this.note = note;
    this.hide = hide;
    this.loaded = null;
    this.large = largeTemplate.content.firstElementChild.cloneNode(true);
    this.summary = this.large.querySelector(".large-summary");
    this.head = this.large.querySelector(".large-head");
    const remove = this.large.querySelector(".remove-large");
    remove.textContent = removeLabel;
    remove.hidden = !removeLabel;
    remove.addEventListener("click", () => {
      this.clear();
      textarea.focus();
      onEdit();
    });
    hide.after(this.large);
    textarea.addEventListener("input", () => {
      this.loaded = null;
      this.note.textContent = "";
      onEdit();
    });
  }

  // Puts bytes into the field as loaded; name names them in a large input's summary.
  load(bytes, name = "") {
    this.loaded = bytes;
    const tooLarge = bytes.length > SHOWN_INPUT_LIMIT;
    this.hide.hidden = tooLarge;
    this.large.hidden = !tooLarge;
    if (tooLarge) {
      this.textarea.value = "";
      this.note.textContent = "";
      const {text, head} = summaryOf(name, bytes);
      this.summary.textContent = text;
      this.head.textContent = head;
    } else {
      this.textarea.value = decoder.decode(bytes);
      this.note.textContent = unshownBytes(bytes);
    }
  }

  // Empties the field, and shows the box again after a large input.
  clear() {
    this.load(new Uint8Array());
  }

  bytes() {
    return this.loaded || encoder.encode(this.textarea.value);
  }
}
