// Reading a program's output line by line from its Blob, a slice at a time, for the pictures'
// readers in the picture worker, and the errors with which a reader refuses an output. linesOf
// never holds the output whole; byteLines does, for the pictures that need every line at once.

import {byteString} from "../bytes.js";

const SLICE_BYTES = 4 << 20;

// The output is not in the format that the program writes, so no picture is drawn from it; the
// message says where.
export class NotInFormat extends Error {}

// The output is in format, but what the page rebuilds from one part of it disagrees with
// another part, or with the page's own reading of the input; the message says where.
export class Disagreement extends Error {}

// Yields each line of the Blob as a Uint8Array without its LF. Throws NotInFormat when the last
// line has no LF: the programs end every line they write.
export async function* linesOf(blob) {
  let carried = []; // the pieces of a line begun in earlier slices
  let carriedLength = 0;
  for (let start = 0; start < blob.size; start += SLICE_BYTES) {
    const slice = new Uint8Array(await blob.slice(start, start + SLICE_BYTES).arrayBuffer());
    let lineStart = 0;
    for (let at = slice.indexOf(10); at !== -1; at = slice.indexOf(10, lineStart)) {
      if (carriedLength > 0) {
        const line = new Uint8Array(carriedLength + at - lineStart);
        let filled = 0;
        for (const piece of [...carried, slice.subarray(lineStart, at)]) {
          line.set(piece, filled);
          filled += piece.length;
        }
        carried = [];
        carriedLength = 0;
        yield line;
      } else {
        yield slice.subarray(lineStart, at);
      }
      lineStart = at + 1;
    }
    if (lineStart < slice.length) {
      carried.push(slice.subarray(lineStart));
      carriedLength += slice.length - lineStart;
    }
  }
  if (carriedLength > 0) {
    throw new NotInFormat("the last line has no line end");
  }
}

// Reads the Blob as lines, each as a byte string; a missing last line end is NotInFormat.
export async function byteLines(blob) {
  const lines = [];
  for await (const line of linesOf(blob)) {
    lines.push(byteString(line));
  }
  return lines;
}
