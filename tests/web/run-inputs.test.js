import assert from "node:assert/strict";
import {test} from "node:test";
import {summaryOf} from "../../web/run-inputs.js";

const inputs = (args, names, stdinLength) => ({
  args,
  files: names.map((name) => ({name, bytes: new Uint8Array(1)})),
  stdin: new Uint8Array(stdinLength),
});

test("the summary counts arguments as a run takes them, and quotes every file name", () => {
  const cases = [
    [inputs("a\n\nb\n", [], 30), "3 arguments, no files, standard input 30 bytes"],
    [
      inputs("x", ["a", "b", "c", "d"], 1),
      '1 argument, 4 files ("a", 1 byte; "b", 1 byte; "c", 1 byte; and 1 more), standard input 1 byte',
    ],
    // A name cannot end its quotes, start a line, or turn the page's words around.
    [
      inputs("", ['x", 9 bytes), all correct\n\u202Ey'], 0),
      'No arguments, 1 file ("x\\", 9 bytes), all correct\\n\\u202Ey", 1 byte), empty standard input',
    ],
  ];
  for (const [given, summary] of cases) {
    assert.equal(summaryOf(given), summary);
  }
});
