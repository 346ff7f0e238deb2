import assert from "node:assert/strict";
import {test} from "node:test";
import {Disagreement, NotInFormat} from "../../web/pictures/lines.js";
import {read} from "../../web/pictures/tree.js";

// bst_driver's output for the words m c t e, then the queries e and x: the tree on its side, in
// pre-order and in post-order, then the answers.
const LISTING = [
  "number of nodes: 4",
  "   t",
  "m",
  "      e",
  "   c",
  "number of nodes: 4",
  ...["m", "c", "e", "t"],
  "number of nodes: 4",
  ...["e", "c", "t", "m"],
  "found:      e",
  "not found:  x",
];
const output = (lines) => ({stdout: new Blob([`${lines.join("\n")}\n`])});
const replaced = (at, ...lines) => LISTING.toSpliced(at, lines.length, ...lines);

test("the tree rebuilt from the sideways listing, checked against the other listings", async () => {
  const tree = await read(output(LISTING));
  const key = (node) => (node === -1 ? null : tree.keys[node]);
  const children = tree.keys.map((_, node) => [key(tree.left[node]), key(tree.right[node])]);
  assert.deepEqual(
    [tree.keys, children, key(tree.root), tree.height, [...tree.size]],
    [
      ["c", "e", "m", "t"],
      [
        [null, "e"],
        [null, null],
        ["c", "t"],
        [null, null],
      ],
      "m",
      3,
      [2, 1, 4, 1],
    ],
  );
  assert.deepEqual(tree.answers, [
    {key: "e", found: true},
    {key: "x", found: false},
  ]);
});

test("listings that disagree, or are not bst_driver's, draw no tree", async () => {
  const refusals = [
    ["pre-order swapped", replaced(7, "e", "c"), Disagreement, /pre-order listing gives "e"/],
    ["post-order swapped", replaced(12, "t", "e"), Disagreement, /post-order listing/],
    ["an answer the tree denies", replaced(15, "found:      x"), Disagreement, /found: x/],
    ["sideways out of order", replaced(1, "   a"), Disagreement, /descending order/],
    ["a child two levels down", replaced(3, "         e"), Disagreement, /one level below/],
    ["a count that differs", replaced(5, "number of nodes: 3"), Disagreement, /counts another/],
    ["an indent of two spaces", replaced(1, "  t"), NotInFormat, /line 2 /],
    ["cut within the listings", LISTING.slice(0, 9), NotInFormat, /ends at line 10/],
  ];
  for (const [name, lines, kind, message] of refusals) {
    await assert.rejects(
      read(output(lines)),
      (error) => error instanceof kind && message.test(error.message),
      name,
    );
  }
  await assert.rejects(read({stdout: new Blob(["number of nodes: 0"])}), NotInFormat);
});
