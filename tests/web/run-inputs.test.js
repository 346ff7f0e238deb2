import assert from "node:assert/strict";
import {test} from "node:test";
import {summaryOf} from "../../web/run-inputs.js";

const bytes = (length) => new Uint8Array(length);
const file = (name, length = 1) => ({name, bytes: bytes(length)});

test("the summary counts arguments as a run takes them, and quotes every file name", () => {
  const cases = [
    [{args: "", files: [], stdin: bytes(0)}, "No arguments, no files, empty standard input"],
    [
      {args: "a\n\nb\n", files: [file("products.txt", 23)], stdin: bytes(30)},
      '3 arguments, 1 file ("products.txt", 23 bytes), standard input 30 bytes',
    ],
    [
      {args: "x", files: ["a", "b", "c", "d"].map((name) => file(name)), stdin: bytes(1)},
      '1 argument, 4 files ("a", 1 byte; "b", 1 byte; "c", 1 byte; and 1 more), standard input 1 byte',
    ],
    // A name cannot end its quotes, start a line, or turn the page's words around.
    [
      {args: "", files: [file('x", 9 bytes), all correct\n\u202Ey')], stdin: bytes(0)},
      'No arguments, 1 file ("x\\", 9 bytes), all correct\\n\\u202Ey", 1 byte), empty standard input',
    ],
  ];
  for (const [inputs, summary] of cases) {
    assert.equal(summaryOf(inputs), summary);
  }
});
