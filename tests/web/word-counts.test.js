import assert from "node:assert/strict";
import {test} from "node:test";
import {Disagreement, NotInFormat} from "../../web/pictures/lines.js";
import {read} from "../../web/pictures/word-counts.js";

// Words split at the six white-space bytes; one trailing punctuation byte stripped; A to Z
// lower-cased and no other byte: "CAFÉ" stays apart from "café".
const TEXT = Buffer.from("The the\vTHE? cat. cat,, Café café CAFÉ on..\fon..", "utf8");
const files = {"text.txt": new Uint8Array(TEXT)};
const report = (...words) => new Blob([words.map((word) => `${word}\n`).join("")]);
const counts = async (args, stdout, order = "inReport") =>
  (await read({stdout, args, files}))[order].map(({key, count}) => [
    Buffer.from(key, "latin1").toString(),
    count,
  ]);

test("the page counts as the programs do, and reads COUNT as atoi does", async () => {
  const overOne = [
    ["the", 3],
    ["on.", 2],
    ["café", 2],
  ];
  for (const count of ["1", "1x", " +1"]) {
    assert.deepEqual(
      await counts(["text.txt", count], report("the", "on.", "café")),
      overOne,
      count,
    );
  }
  const mostFrequent = [overOne[0], overOne[2], overOne[1]]; // a tie in byte order
  assert.deepEqual(
    await counts(["text.txt", "1"], report("the", "on.", "café"), "mostFrequent"),
    mostFrequent,
  );
  assert.deepEqual(await counts(["./text.txt", "2"], report("the")), [["the", 3]]);
  assert.deepEqual(await counts(["text.txt", "99999999999"], report()), []);
  const overZero = report("the", "on.", "cat,", "cat", "café", "cafÉ");
  assert.equal((await counts(["text.txt", "abc"], overZero)).length, 6);
});

test("a report that the page's count does not give draws no bars", async () => {
  const refusals = [
    [["text.txt", "1"], report("the", "café", "on."), Disagreement, /descending order at line 3/],
    [["text.txt", "1"], report("the", "on."), Disagreement, /page counts 3 words/],
    [["text.txt", "2"], report("the", "on."), Disagreement, /"on\." \(line 2\)/],
    [["missing.txt", "1"], report(), NotInFormat, /not among the files/],
  ];
  for (const [args, stdout, kind, message] of refusals) {
    await assert.rejects(
      read({stdout, args, files}),
      (error) => error instanceof kind && message.test(error.message),
    );
  }
});

test("past the bars drawn, the most frequent come first and the rest are counted", async () => {
  // 70 words twice each, then "aaa", the most frequent, last in the report's order.
  const words = Array.from({length: 70}, (_, index) => `w${String(index).padStart(2, "0")}`);
  const text = new TextEncoder().encode(`${[...words, ...words, "aaa aaa aaa"].join(" ")}\n`);
  const chart = await read({
    stdout: report(...words.toReversed(), "aaa"),
    args: ["long.txt", "1"],
    files: {"long.txt": text},
  });
  assert.deepEqual(
    [chart.reported, chart.mostFrequent.length, chart.mostFrequent[0], chart.inReport[0]],
    [71, 60, {key: "aaa", count: 3}, {key: "w69", count: 2}],
  );
});
