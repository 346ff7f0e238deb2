import assert from "node:assert/strict";
import {test} from "node:test";
import {decoder} from "../../web/bytes.js";
import {OutputHead} from "../../web/output-view.js";

test("a head cut at its limit never shows half a character", () => {
  // "é" is 2 bytes, "😀" 4: the limit of 4 cuts each of them, wherever it falls.
  for (const text of ["abcé!", "abé!", "a😀!", "ab😀!", "abc😀!", "abcd"]) {
    const head = new OutputHead(4);
    for (const byte of new TextEncoder().encode(text)) {
      head.append(Uint8Array.of(byte));
    }
    const shown = decoder.decode(head.shownBytes());
    assert.ok(text.startsWith(shown) && !shown.includes("\uFFFD"), `${text}: shows ${shown}`);
  }
});
