import assert from "node:assert/strict";
import {test} from "node:test";
import {fromBase64Url, pack, toBase64Url, unpack} from "../../web/packed-run.js";

const inputs = {
  program: "roster_test",
  args: "names.txt\n\n-é",
  files: [
    {name: "names.txt", bytes: Uint8Array.of(83, 13, 10, 0xff, 0xfe, 10, 0)},
    {name: "empty", bytes: new Uint8Array()},
  ],
  stdin: Uint8Array.of(13),
  expected: {stdout: Uint8Array.of(0xc3), stderr: new Uint8Array(), status: " 1"},
};

test("a run's bytes survive a link: CR LF, bytes that are not UTF-8, empty files", async () => {
  const link = toBase64Url(await pack(inputs));
  assert.match(link, /^[A-Za-z0-9_-]*$/);
  assert.deepEqual(await unpack(fromBase64Url(link)), {...inputs, dropped: []});
});

test("a damaged link or saved run is refused whole", async () => {
  const packed = await pack(inputs);
  const refusals = [
    ["cut short", () => unpack(packed.subarray(0, packed.length - 2))],
    ["not compressed", () => unpack(Uint8Array.of(1, 2, 3))],
    ["another program", async () => unpack(await pack({...inputs, program: "rm"}))],
    ["a character no link holds", async () => fromBase64Url("ab+c")],
  ];
  for (const [name, open] of refusals) {
    await assert.rejects(open, Error, name);
  }
});
