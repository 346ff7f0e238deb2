import assert from "node:assert/strict";
import {readFileSync} from "node:fs";
import {test} from "node:test";
import {read} from "../../web/pictures/tree.js";
import {LEAST_ZOOM, topShowing, viewFrom} from "../../web/pictures/tree-layout.js";
import {boxText, boxWidth} from "../../web/pictures/tree-view.js";

// The example's tree (23 words, height 8), as bst_driver writes it, and a phone's frame.
const EXAMPLE = new URL("examples/bst_driver/expected_stdout", import.meta.url);
const PHONE_FRAME = 356;

// A tree of these words inserted in turn, as read() gives it, its nodes numbered in order.
function treeOf(words) {
  const keys = [...new Set(words)].sort();
  const numbers = new Map(keys.map((key, node) => [key, node]));
  const tree = {keys, root: numbers.get(words[0])};
  for (const field of ["left", "right", "depth", "size"]) {
    tree[field] = keys.map(() => (field === "size" ? 1 : field === "depth" ? 0 : -1));
  }
  for (const [word, node] of numbers) {
    for (let at = tree.root; at !== node; ) {
      tree.size[at] += 1;
      tree.depth[node] += 1;
      const side = word < keys[at] ? tree.left : tree.right;
      if (side[at] === -1) {
        side[at] = node;
      }
      at = side[at];
    }
  }
  return tree;
}

// Failures of a layout: boxes of a level that overlap, children on the wrong side.
function faults(tree, {placed}) {
  const widthOf = (node) => boxWidth(boxText(tree, node));
  const found = [];
  const levels = [];
  for (const entry of placed) {
    levels[entry[1].level] = [...(levels[entry[1].level] ?? []), entry];
  }
  for (const row of levels) {
    row.sort(([, one], [, other]) => one.x - other.x);
    row.slice(1).forEach(([node, {x}], index) => {
      const [before, at] = row[index];
      if (at.x + widthOf(before) / 2 > x - widthOf(node) / 2) {
        found.push(`${tree.keys[before]} overlaps ${tree.keys[node]}`);
      }
    });
  }
  for (const [node, {x}] of placed) {
    for (const [child, side] of [
      [tree.left[node], -1],
      [tree.right[node], 1],
    ]) {
      if (placed.has(child) && Math.sign(placed.get(child).x - x) !== side) {
        found.push(`${tree.keys[child]} is on the wrong side of ${tree.keys[node]}`);
      }
    }
  }
  return found;
}

test("a small tree is laid out whole, narrow enough for a phone at a readable size", async () => {
  const tree = await read({stdout: new Blob([readFileSync(EXAMPLE)])});
  const widthOf = (node) => boxWidth(boxText(tree, node));
  const view = viewFrom(tree, tree.root, PHONE_FRAME, widthOf);
  assert.deepEqual([view.placed.size, view.levels], [23, 8]);
  assert.deepEqual(faults(tree, view), []);
  assert.ok(view.width * LEAST_ZOOM <= PHONE_FRAME, `width ${view.width}`);
});

test("a large tree is laid out some levels at a time, as many as fit", () => {
  let seed = 7;
  const random = () => {
    seed = (seed * 48271) % 2147483647;
    return seed;
  };
  const words = Array.from({length: 3000}, () => `w${random() % 100000}`);
  const tree = treeOf(words);
  const widthOf = (node) => boxWidth(boxText(tree, node));
  for (const frame of [PHONE_FRAME, 585]) {
    const view = viewFrom(tree, tree.root, frame, widthOf);
    assert.ok(view.levels >= 2 && view.width * LEAST_ZOOM <= frame, `${frame}: ${view.width}`);
    assert.deepEqual(faults(tree, view), []);
    // The view of a search's path reaches its end.
    const parent = new Map();
    for (const [node, child] of [...tree.left.entries(), ...tree.right.entries()]) {
      parent.set(child, node);
    }
    const deepest = tree.depth.indexOf(Math.max(...tree.depth));
    const path = [deepest];
    while (path[0] !== tree.root) {
      path.unshift(parent.get(path[0]));
    }
    const top = topShowing(tree, path, frame, widthOf);
    assert.ok(viewFrom(tree, top, frame, widthOf).placed.has(deepest), `${frame}: ${top}`);
  }
});
