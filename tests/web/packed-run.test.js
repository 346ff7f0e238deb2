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

test("a link made before links carried a checksum still opens", async () => {
  const link =
    "TcwxCgIxEEbh1Ate4q8HiYVNrmEZggR2jAu7SZgZZUH06ko62-_Bc859Xniy6NIqwonQpRXJGwKkqbFcjdVAyFIUATVvrE" +
    "fbB92WlRUhxn89p0RYuRa7j-bJk08EtWyPMfAgzNJ65xkhpvflMH2nHw";
  const opened = await unpack(fromBase64Url(link));
  assert.deepEqual(opened.files, [{name: "names.txt", bytes: Uint8Array.of(83, 13, 10, 0xff, 10)}]);
  assert.equal(opened.args, "names.txt");
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

test("a link with any one character changed is refused", async () => {
  const link = toBase64Url(await pack(inputs));
  for (let at = 0; at < link.length; at += 1) {
    // The next character of base64url's alphabet, so that every bit of each place is tried.
    const changed = `${link.slice(0, at)}${link[at] === "A" ? "B" : "A"}${link.slice(at + 1)}`;
    await assert.rejects(async () => unpack(fromBase64Url(changed)), Error, `at ${at}`);
  }
});
