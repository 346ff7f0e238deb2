// Compares what a run wrote with what the student expected, byte for byte: where the first
// difference is (line and column, both from 1, the column in bytes), the two lines there with
// their invisible characters made visible, and a line diff of a bounded window from there on.
// The run's output may be far larger than anything a page can hold as text: it is read from its
// Blob a slice at a time, each slice a short step, so that a comparison never holds up the page.

import {byteString, bytesOf, decoder} from "./bytes.js";
import {formatCount} from "./numbers.js";

const SLICE_BYTES = 1 << 20;
// The line diff looks at most this far into both outputs from a few lines before the first
// difference...
const WINDOW_LINES = 2000;
const WINDOW_BYTES = 256 << 10;
// ...gives up on windows that differ in more than this many lines...
const MOST_EDITS = 1000;
// ...and shows at most this many lines of its result.
const SHOWN_DIFF_LINES = 80;
const CONTEXT_LINES = 3;
// A line shown in a report is cut after this many bytes, around the difference.
const SHOWN_LINE_BYTES = 300;

const NEWLINE = 10;

// The text of a line's bytes (its LF excluded) as segments [text, mark], the characters that
// look like nothing set apart, for the report to make visible: each CR (mark "cr"), each tab
// ("tab") and the spaces at the end of the line ("spaces"); mark is null for the rest.
export function visibleLine(bytes) {
  const text = decoder.decode(bytes);
  const body = text.replace(/ +$/, "");
  const segments = [];
  for (const piece of body.split(/([\r\t])/)) {
    if (piece !== "") {
      segments.push([piece, {"\r": "cr", "\t": "tab"}[piece] || null]);
    }
  }
  if (body.length < text.length) {
    segments.push([text.slice(body.length), "spaces"]);
  }
  return segments;
}

// The first offset at which expected (a Uint8Array) and actual (a Blob) differ, counting the
// end of the shorter as a difference; -1 when they are the same bytes.
async function firstDifferingOffset(expected, actual) {
  for (let start = 0; start < Math.max(expected.length, actual.size); start += SLICE_BYTES) {
    const slice = new Uint8Array(await actual.slice(start, start + SLICE_BYTES).arrayBuffer());
    const mine = expected.subarray(start, start + SLICE_BYTES);
    const common = Math.min(slice.length, mine.length);
    for (let at = 0; at < common; at += 1) {
      if (slice[at] !== mine[at]) {
        return start + at;
      }
    }
    if (slice.length !== mine.length) {
      return start + common;
    }
  }
  return -1;
}

// The line of the difference, from the bytes around it: slice holds the output's bytes from
// sliceStart on (at least to SHOWN_LINE_BYTES / 2 past offset, where the output goes on that
// far), lineStart is where the line starts, total the output's length.
function shownLine(slice, sliceStart, offset, lineStart, total) {
  const newline = slice.indexOf(NEWLINE, offset - sliceStart);
  const end = newline === -1 ? slice.length : newline;
  return {
    segments: [
      ...(sliceStart > lineStart ? [["…", null]] : []),
      ...visibleLine(slice.subarray(0, end)),
      ...(newline === -1 && sliceStart + slice.length < total ? [["…", null]] : []),
    ],
    // The output ends on this line, without a line end after it.
    missingNewline: newline === -1 && sliceStart + slice.length >= total && total > lineStart,
    // The output has ended before this line.
    endsHere: lineStart >= total,
  };
}

function countNewlines(bytes) {
  let count = 0;
  for (let at = bytes.indexOf(NEWLINE); at !== -1; at = bytes.indexOf(NEWLINE, at + 1)) {
    count += 1;
  }
  return count;
}

// The lines of bytes as byte strings (a character per byte, so that lines compare as bytes),
// each with its LF but a last one that has none, so that a missing line end is a difference.
function splitLines(bytes) {
  const lines = [];
  const lineOf = (start, end) => byteString(bytes.subarray(start, end));
  let start = 0;
  for (let at = bytes.indexOf(NEWLINE); at !== -1; at = bytes.indexOf(NEWLINE, at + 1)) {
    lines.push(lineOf(start, at + 1));
    start = at + 1;
  }
  if (start < bytes.length) {
    lines.push(lineOf(start, bytes.length));
  }
  return lines;
}

// Myers' diff of two arrays of lines: the script as [kind, expectedIndex, actualIndex] steps,
// kind " " (both), "-" (expected only) or "+" (actual only); null beyond MOST_EDITS edits.
function diffLines(a, b) {
  const offset = MOST_EDITS + 1;
  const furthest = new Int32Array(2 * offset + 1);
  const trace = [];
  for (let edits = 0; edits <= MOST_EDITS; edits += 1) {
    trace.push(furthest.slice());
    for (let k = -edits; k <= edits; k += 2) {
      let x =
        k === -edits || (k !== edits && furthest[offset + k - 1] < furthest[offset + k + 1])
          ? furthest[offset + k + 1]
          : furthest[offset + k - 1] + 1;
      let y = x - k;
      while (x < a.length && y < b.length && a[x] === b[y]) {
        x += 1;
        y += 1;
      }
      furthest[offset + k] = x;
      if (x >= a.length && y >= b.length) {
        return backtrack(trace, offset, a.length, b.length);
      }
    }
  }
  return null;
}

function backtrack(trace, offset, xEnd, yEnd) {
  const script = [];
  let x = xEnd;
  let y = yEnd;
  for (let edits = trace.length - 1; edits >= 0; edits -= 1) {
    const furthest = trace[edits];
    const k = x - y;
    const previousK =
      k === -edits || (k !== edits && furthest[offset + k - 1] < furthest[offset + k + 1])
        ? k + 1
        : k - 1;
    const previousX = edits === 0 ? 0 : furthest[offset + previousK];
    const previousY = previousX - previousK;
    while (x > previousX && y > previousY) {
      x -= 1;
      y -= 1;
      script.push([" ", x, y]);
    }
    if (edits > 0) {
      script.push(x === previousX ? ["+", x, previousY] : ["-", previousX, y]);
    }
    x = previousX;
    y = previousY;
  }
  return script.reverse();
}

// The line diff of two windows that start at the same line, firstLine: its lines, as
// [kind, segments, missingNewline] (kind " ", "-" or "+", segments as visibleLine gives them)
// or ["@", text] for the line numbers of a group of changes with its context, and how many
// changed lines are not shown.
function windowDiff(expected, actual, firstLine) {
  const a = splitLines(expected);
  const b = splitLines(actual);
  const script = diffLines(a, b);
  if (script === null) {
    return {lines: [], unshown: 0, tooDifferent: true};
  }
  const changed = script.map(([kind]) => kind !== " ");
  const lines = [];
  let unshown = 0;
  let shownUpTo = null; // the last step shown; none before the first group, which gets its header too
  script.forEach(([kind, ai, bi], index) => {
    const near = changed
      .slice(Math.max(0, index - CONTEXT_LINES), index + CONTEXT_LINES + 1)
      .includes(true);
    if (!near) {
      return;
    }
    if (lines.length >= SHOWN_DIFF_LINES) {
      unshown += changed[index] ? 1 : 0;
      return;
    }
    if (shownUpTo !== index - 1) {
      lines.push([
        "@",
        `expected line ${formatCount(firstLine + ai)}, ` +
          `actual line ${formatCount(firstLine + bi)}`,
      ]);
    }
    shownUpTo = index;
    const text = kind === "+" ? b[bi] : a[ai];
    const missing = !text.endsWith("\n");
    const line = missing ? text : text.slice(0, -1);
    lines.push([kind, visibleLine(bytesOf(line)), missing]);
  });
  return {lines, unshown, tooDifferent: false};
}

// Compares expected (Uint8Array) with actual (Blob). Resolves to {same: true}, or to
// {same: false, line, column, expected, actual, diff}: expected and actual as shownLine gives
// them, diff as windowDiff gives it, with `partial` set when the window did not reach the end
// of either output.
export async function compare(expected, actual) {
  const offset = await firstDifferingOffset(expected, actual);
  if (offset === -1) {
    return {same: true};
  }
  // Up to the difference both hold the same bytes, so the line starts at the same place.
  const before = expected.subarray(0, offset);
  const lineStart = before.lastIndexOf(NEWLINE) + 1;
  const line = countNewlines(before) + 1;
  const sliceStart = Math.max(lineStart, offset - SHOWN_LINE_BYTES / 2);
  const sliceEnd = offset + SHOWN_LINE_BYTES / 2;
  const actualSlice = new Uint8Array(await actual.slice(sliceStart, sliceEnd).arrayBuffer());
  // The window of the line diff starts a few lines before the difference, at a line start,
  // and stops at a line end within its bounds.
  let windowStart = lineStart;
  for (let back = 0; back < CONTEXT_LINES && windowStart > 0; back += 1) {
    windowStart = expected.lastIndexOf(NEWLINE, windowStart - 2) + 1;
  }
  const firstLine = line - countNewlines(expected.subarray(windowStart, lineStart));
  const bounded = (bytes) => {
    let end = 0;
    for (let count = 0; count < WINDOW_LINES && end < bytes.length; count += 1) {
      const newline = bytes.indexOf(NEWLINE, end);
      end = newline === -1 ? bytes.length : newline + 1;
    }
    return bytes.subarray(0, end);
  };
  const expectedWindow = bounded(expected.subarray(windowStart, offset + WINDOW_BYTES));
  const actualWindow = bounded(
    new Uint8Array(await actual.slice(windowStart, offset + WINDOW_BYTES).arrayBuffer()),
  );
  const diff = windowDiff(expectedWindow, actualWindow, firstLine);
  diff.partial =
    windowStart + expectedWindow.length < expected.length ||
    windowStart + actualWindow.length < actual.size;
  return {
    same: false,
    line,
    column: offset - lineStart + 1,
    expected: shownLine(
      expected.subarray(sliceStart, sliceEnd),
      sliceStart,
      offset,
      lineStart,
      expected.length,
    ),
    actual: shownLine(actualSlice, sliceStart, offset, lineStart, actual.size),
    diff,
  };
}
