// bst_driver's tree, rebuilt from its own output and drawn top-down. The sideways listing gives
// every word with its depth (three spaces a level), in descending order: that is the tree's
// in-order walk, from which the tree follows, as each node's parent is the nearest word on
// either side of it that lies one level higher. The tree rebuilt must then give the program's
// pre-order and post-order listings word for word, and each query answer shown must be what a
// search of it finds; otherwise the page says that they disagree and draws nothing.

import {byteString, shown} from "../bytes.js";
import {formatCount} from "../numbers.js";
import {Disagreement, NotInFormat, linesOf} from "./lines.js";
import {CHARACTER_WIDTH, cut, pictureSvg, svgElement} from "./svg.js";

export const DISAGREEMENT = "the program's output disagrees with itself";

// Query answers kept for choosing one, at most.
const SHOWN_ANSWERS = 500;
const COUNT_LINE = /^number of nodes: (\d+)$/;
const ANSWER_LINE = /^(found: {6}|not found: {2})(.*)$/s;

// A reader of the output's lines that counts them and says where the form breaks.
function lineReader(stdout) {
  const lines = linesOf(stdout)[Symbol.asyncIterator]();
  const reader = {
    number: 0,
    async next() {
      const {value, done} = await lines.next();
      reader.number += 1;
      return done ? null : value;
    },
    async listed() {
      const line = await reader.next();
      if (line === null) {
        throw new NotInFormat(`the output ends at line ${reader.number}, within the listings`);
      }
      return line;
    },
    async count() {
      const found = COUNT_LINE.exec(byteString(await reader.listed()));
      if (!found) {
        throw new NotInFormat(`line ${reader.number} is not a "number of nodes: " line`);
      }
      return Number(found[1]);
    },
  };
  return reader;
}

// The tree whose in-order walk is keys with these depths: left and right children (-1 for
// none) and the root; Disagreement when no tree has that walk.
function treeOfWalk(keys, depth) {
  const n = keys.length;
  const left = new Int32Array(n).fill(-1);
  const right = new Int32Array(n).fill(-1);
  const stack = [];
  for (let i = 0; i < n; i += 1) {
    if (i > 0 && !(keys[i - 1] < keys[i])) {
      throw new Disagreement(
        `the sideways listing is not in strictly descending order at "${shown(keys[i])}"`,
      );
    }
    let last = -1;
    while (stack.length > 0 && depth[stack[stack.length - 1]] > depth[i]) {
      last = stack.pop();
    }
    left[i] = last;
    if (stack.length > 0) {
      right[stack[stack.length - 1]] = i;
    }
    stack.push(i);
  }
  const root = n > 0 ? stack[0] : -1;
  for (let i = 0; i < n; i += 1) {
    for (const child of [left[i], right[i]]) {
      if (child !== -1 && depth[child] !== depth[i] + 1) {
        throw new Disagreement(
          `"${shown(keys[child])}" is not one level below its parent ` +
            `"${shown(keys[i])}" in the sideways listing`,
        );
      }
    }
  }
  if (root !== -1 && depth[root] !== 0) {
    throw new Disagreement("the sideways listing has no root at the left margin");
  }
  return {left, right, root};
}

// Calls visit(node) in pre-order (order "pre") or post-order ("post"), without recursion.
function walk(tree, order, visit) {
  const stack = tree.root === -1 ? [] : [[tree.root, false]];
  while (stack.length > 0) {
    const [node, childrenDone] = stack.pop();
    if (order === "pre" || childrenDone) {
      visit(node);
    }
    if (!childrenDone) {
      if (order === "post") {
        stack.push([node, true]);
      }
      for (const child of [tree.right[node], tree.left[node]]) {
        if (child !== -1) {
          stack.push([child, false]);
        }
      }
    }
  }
}

// The nodes a search for key compares it with, from the root, and whether it is found.
function searchPath(tree, key) {
  const path = [];
  for (let node = tree.root; node !== -1; ) {
    path.push(node);
    if (key === tree.keys[node]) {
      return {path, found: true};
    }
    node = key < tree.keys[node] ? tree.left[node] : tree.right[node];
  }
  return {path, found: false};
}

// Reads bst_driver's output (a Blob) into its tree: {keys (byte strings, in order), depth,
// left, right, root, size (of each subtree), height, answers: [{key, found}] (the first
// SHOWN_ANSWERS), answerCount}. Throws NotInFormat or Disagreement.
export async function read({stdout}) {
  const reader = lineReader(stdout);
  const n = await reader.count();
  const keys = new Array(n);
  const depth = new Int32Array(n);
  for (let i = n - 1; i >= 0; i -= 1) {
    const line = await reader.listed();
    let spaces = 0;
    while (line[spaces] === 32) {
      spaces += 1;
    }
    if (spaces % 3 !== 0 || spaces === line.length) {
      throw new NotInFormat(`line ${reader.number} is not a word indented by three spaces a level`);
    }
    depth[i] = spaces / 3;
    keys[i] = byteString(line.subarray(spaces));
  }
  const tree = {keys, depth, ...treeOfWalk(keys, depth)};
  for (const order of ["pre", "post"]) {
    if ((await reader.count()) !== n) {
      throw new Disagreement(`the ${order}-order listing counts another number of nodes`);
    }
    const expected = [];
    walk(tree, order, (node) => expected.push(node));
    for (let index = 0; index < n; index += 1) {
      const listed = byteString(await reader.listed());
      if (listed !== keys[expected[index]]) {
        throw new Disagreement(
          `the ${order}-order listing gives "${shown(listed)}" as its word ` +
            `${index + 1}, where the tree has "${shown(keys[expected[index]])}"`,
        );
      }
    }
  }
  tree.answers = [];
  tree.answerCount = 0;
  for (let line = await reader.next(); line !== null; line = await reader.next()) {
    const answer = ANSWER_LINE.exec(byteString(line));
    if (!answer) {
      throw new NotInFormat(`line ${reader.number} is not a "found:" or "not found:" answer`);
    }
    tree.answerCount += 1;
    if (tree.answers.length < SHOWN_ANSWERS) {
      const found = answer[1].startsWith("found");
      if (searchPath(tree, answer[2]).found !== found) {
        throw new Disagreement(
          `the program answers "${answer[1].trim()} ${shown(answer[2])}", ` +
            "which a search of the tree does not",
        );
      }
      tree.answers.push({key: answer[2], found});
    }
  }
  tree.size = new Int32Array(n);
  walk(tree, "post", (node) => {
    tree.size[node] =
      1 +
      [tree.left[node], tree.right[node]].reduce(
        (sum, child) => sum + (child === -1 ? 0 : tree.size[child]),
        0,
      );
  });
  tree.height = depth.reduce((highest, level) => Math.max(highest, level + 1), 0);
  return tree;
}

// Levels drawn below the node at the top of the view.
const LEVELS = 6;
const ROW_HEIGHT = 56;
const MOST_CHARACTERS = 16;

// Draws the tree into holder: the levels below `top` (the root at first), the rest counted;
// a choice of the query answers shows a search's path. Returns nothing; the controls it makes
// are plain buttons and a list, so that all of it works by keyboard.
export function draw(holder, tree) {
  const label =
    `Binary search tree of ${formatCount(tree.keys.length)} words, ` +
    `height ${formatCount(tree.height)}`;
  const caption = document.createElement("p");
  const controls = document.createElement("div");
  controls.className = "picture-controls";
  const scroller = document.createElement("div");
  scroller.className = "picture-scroller";
  // It scrolls, so it takes the focus, and the arrow keys pan the view.
  scroller.tabIndex = 0;
  scroller.setAttribute("role", "region");
  scroller.setAttribute("aria-label", "The tree, scrolled to pan");
  const pathNote = document.createElement("p");
  pathNote.className = "hint";
  // The zoom is first set to fit the view into the page's width, when it is drawn.
  const view = {top: tree.root, search: null, zoom: null};
  const button = (text, action) => {
    const made = document.createElement("button");
    made.type = "button";
    made.textContent = text;
    made.addEventListener("click", action);
    controls.append(made);
    return made;
  };
  const parentOf = new Map();
  for (let node = 0; node < tree.keys.length; node += 1) {
    for (const child of [tree.left[node], tree.right[node]]) {
      if (child !== -1) {
        parentOf.set(child, node);
      }
    }
  }
  const redraw = () => {
    const svg = drawView(tree, view, label, (node) => {
      view.top = node;
      redraw();
    });
    scroller.replaceChildren(svg);
    // The top of the view in the middle of what is in sight.
    scroller.scrollLeft = Number(svg.dataset.topX) * view.zoom - scroller.clientWidth / 2;
    const levelFrom = view.top === -1 ? 0 : tree.depth[view.top];
    caption.textContent =
      `${label}. Shown: ` +
      (view.top === tree.root
        ? `the top ${Math.min(LEVELS, tree.height)} levels`
        : `the subtree of "${cut(shown(tree.keys[view.top]), 40)}", levels ${levelFrom + 1} to ` +
          `${Math.min(levelFrom + LEVELS, tree.height)}`) +
      "; a number under a word counts the words below it that are not shown.";
  };
  button("Show from the root", () => {
    view.top = tree.root;
    redraw();
  });
  button("Up a level", () => {
    view.top = parentOf.has(view.top) ? parentOf.get(view.top) : view.top;
    redraw();
  });
  button("Zoom in", () => {
    view.zoom = Math.min(4, view.zoom * 1.25);
    redraw();
  });
  button("Zoom out", () => {
    view.zoom = Math.max(0.25, view.zoom / 1.25);
    redraw();
  });
  if (tree.answers.length > 0) {
    const choice = document.createElement("select");
    const id = `tree-answer-${Math.random().toString(36).slice(2)}`;
    choice.id = id;
    const choiceLabel = document.createElement("label");
    choiceLabel.htmlFor = id;
    choiceLabel.textContent = "Search path of";
    choice.append(new Option("(none)", ""));
    tree.answers.forEach(({key, found}, index) => {
      choice.append(
        new Option(`${found ? "found" : "not found"}: ${cut(shown(key), 40)}`, String(index)),
      );
    });
    choice.addEventListener("change", () => {
      if (choice.value === "") {
        view.search = null;
        pathNote.textContent = "";
      } else {
        const {key} = tree.answers[Number(choice.value)];
        view.search = {...searchPath(tree, key), key};
        const {path, found} = view.search;
        // The view ends with the search: its last levels are shown.
        view.top = path.length === 0 ? tree.root : path[Math.max(0, path.length - LEVELS)];
        const names = path.map((node) => cut(shown(tree.keys[node]), 24));
        pathNote.textContent =
          `"${cut(shown(key), 40)}" is compared with ${path.length} ` +
          `word${path.length === 1 ? "" : "s"}: ` +
          (names.length > 12 ? [...names.slice(0, 6), "…", ...names.slice(-5)] : names).join(", ") +
          (found ? " — found." : " — not found: the search falls off the tree there.");
      }
      redraw();
    });
    controls.append(choiceLabel, choice);
    if (tree.answerCount > tree.answers.length) {
      const more = document.createElement("span");
      more.className = "hint";
      more.textContent =
        ` (the first ${tree.answers.length} of ` + `${formatCount(tree.answerCount)} answers)`;
      controls.append(more);
    }
  }
  holder.replaceChildren(caption, controls, pathNote, scroller);
  view.fitWidth = scroller.clientWidth;
  redraw();
}

// The SVG of one view: the nodes at most LEVELS - 1 levels below view.top, placed left to right
// in order, a level a row; chosen(node) makes a node the top when it is clicked.
function drawView(tree, view, label, chosen) {
  const nodes = []; // [node, level] in order
  const gather = (node, level) => {
    // In order, without recursion: left subtree, node, right subtree.
    const stack = [];
    for (let current = node, at = level; current !== -1 || stack.length > 0; ) {
      while (current !== -1 && at < LEVELS) {
        stack.push([current, at]);
        current = tree.left[current];
        at += 1;
      }
      [current, at] = stack.pop();
      nodes.push([current, at]);
      current = at + 1 < LEVELS ? tree.right[current] : -1;
      at += 1;
    }
  };
  if (view.top !== -1) {
    gather(view.top, 0);
  }
  // Each word has a column as wide as its box, in order: left of a node lies its left
  // subtree, right of it its right subtree.
  const texts = nodes.map(([node]) => cut(shown(tree.keys[node]), MOST_CHARACTERS));
  const place = new Map();
  let width = 0;
  nodes.forEach(([node, level], index) => {
    const columnWidth = Math.max(3, texts[index].length) * CHARACTER_WIDTH + 20;
    place.set(node, {
      x: width + columnWidth / 2,
      y: level * ROW_HEIGHT + 24,
      level,
      text: texts[index],
      columnWidth,
    });
    width += columnWidth;
  });
  width = Math.max(width, 1);
  const height = LEVELS * ROW_HEIGHT + 24;
  // At first the view is shown at its size, or smaller to fit the page if that keeps it
  // legible; the zoom buttons change that.
  view.zoom ??= Math.min(1, Math.max(0.75, (view.fitWidth || width) / width));
  const svg = pictureSvg(label, width, height);
  svg.setAttribute("width", String(Math.round(width * view.zoom)));
  svg.setAttribute("height", String(Math.round(height * view.zoom)));
  const onPath = new Set(view.search ? view.search.path : []);
  const edges = svgElement("g");
  const boxes = svgElement("g");
  const search = view.search;
  for (const [node, {x, y, level, text, columnWidth}] of place) {
    for (const [child, side] of [
      [tree.left[node], -1],
      [tree.right[node], 1],
    ]) {
      if (place.has(child)) {
        const to = place.get(child);
        edges.append(
          svgElement("line", {
            x1: x,
            y1: y + 14,
            x2: to.x,
            y2: to.y - 14,
            class: onPath.has(child) ? "edge on-path" : "edge",
          }),
        );
      } else if (
        child === -1 &&
        search &&
        !search.found &&
        search.path[search.path.length - 1] === node &&
        (search.key < tree.keys[node] ? -1 : 1) === side
      ) {
        // Where the search fell off the tree.
        edges.append(
          svgElement("line", {
            x1: x,
            y1: y + 14,
            x2: x + (side * columnWidth) / 3,
            y2: y + ROW_HEIGHT / 2,
            class: "edge missing",
          }),
        );
        edges.append(
          svgElement(
            "text",
            {
              x: x + (side * columnWidth) / 3,
              y: y + ROW_HEIGHT / 2 + 14,
              class: "missing-text",
              "text-anchor": "middle",
            },
            "not here",
          ),
        );
      }
    }
    const end = search && search.path[search.path.length - 1] === node;
    const kind = end && search.found ? "found" : onPath.has(node) ? "on-path" : "";
    const box = svgElement("g", {class: `node ${kind}`});
    box.append(svgElement("title", {}, shown(tree.keys[node])));
    const boxWidth = text.length * CHARACTER_WIDTH + 12;
    box.append(
      svgElement("rect", {x: x - boxWidth / 2, y: y - 14, width: boxWidth, height: 28, rx: 6}),
    );
    box.append(svgElement("text", {x, y: y + 5, "text-anchor": "middle"}, text));
    const hidden =
      tree.size[node] -
      1 -
      [tree.left[node], tree.right[node]]
        .filter((child) => place.has(child))
        .reduce((sum, child) => sum + tree.size[child], 0);
    if (level === LEVELS - 1 && hidden > 0) {
      box.append(
        svgElement(
          "text",
          {x, y: y + 30, "text-anchor": "middle", class: "hidden-count"},
          `+${formatCount(hidden)}`,
        ),
      );
    }
    box.addEventListener("click", () => chosen(node));
    boxes.append(box);
  }
  svg.append(edges, boxes);
  svg.dataset.topX = String(view.top === -1 ? 0 : place.get(view.top).x);
  return svg;
}
