import assert from "node:assert/strict";
import {test} from "node:test";
import {compare} from "../../web/compare.js";

const bytes = (text) => Buffer.from(text, "latin1"); // one byte a character, as written
const compared = (expected, actual) => compare(bytes(expected), new Blob([bytes(actual)]));
// A shown line as text, its marked characters in brackets.
const render = (line) =>
  (line.endsHere ? "(ended)" : "") +
  line.segments.map(([text, mark]) => (mark ? `[${text}]` : text)).join("") +
  (line.missingNewline ? "(no newline)" : "");

test("the first difference: its line, its column in bytes, and both lines as shown", async () => {
  const cases = [
    ["a CR before a line end", "x\nadams\n", "x\nadams\r\n", 2, 6, "adams", "adams[\r]"],
    ["a tab, spaces at the end", "a\tb  \n", "a\tb \n", 1, 5, "a[\t]b[  ]", "a[\t]b[ ]"],
    [
      "no final newline",
      "x\n\xff\xfeJones",
      "x\n\xff\xfeJones\n",
      2,
      8,
      "��Jones(no newline)",
      "��Jones",
    ],
    ["an output that ends early", "a\nb\n", "a\n", 2, 1, "b", "(ended)"],
    ["a column after a 2-byte character", "\xc3\xa9a\n", "\xc3\xa9b\n", 1, 3, "éa", "éb"],
  ];
  for (const [name, expected, actual, line, column, expectedLine, actualLine] of cases) {
    const result = await compared(expected, actual);
    assert.deepEqual(
      [result.line, result.column, render(result.expected), render(result.actual)],
      [line, column, expectedLine, actualLine],
      name,
    );
  }
  assert.deepEqual(await compared("same\r\n\xff", "same\r\n\xff"), {same: true});
});

test("every group of the line diff is headed by its line numbers, the first too", async () => {
  const lines = Array.from({length: 20}, (_, index) => `${index + 1}\n`);
  const actual = [...lines];
  actual.splice(1, 1, "two\n");
  actual.splice(15, 1);
  const {diff} = await compared(lines.join(""), actual.join(""));
  const headers = diff.lines.filter(([kind]) => kind === "@").map(([, text]) => text);
  assert.deepEqual(headers, ["expected line 1, actual line 1", "expected line 13, actual line 13"]);
  assert.deepEqual(
    diff.lines
      .slice(0, 5)
      .map(([kind, segments]) => kind + (kind === "@" ? "" : render({segments}))),
    ["@", " 1", "-2", "+two", " 3"],
  );
});
