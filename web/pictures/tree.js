// bst_driver's tree, rebuilt from its own output and drawn top-down. The sideways listing gives
// every word with its depth (three spaces a level), in descending order: that is the tree's
// in-order walk, from which the tree follows, as each node's parent is the nearest word on
// either side of it that lies one level higher. The tree rebuilt must then give the program's
// pre-order and post-order listings word for word, and each query answer shown must be what a
// search of it finds; otherwise the page says that they disagree and draws nothing.

import {byteString, shown} from "../bytes.js";
import {counted, formatCount} from "../numbers.js";
import {Disagreement, NotInFormat, linesOf} from "./lines.js";
import {cut} from "./svg.js";
import {LEAST_ZOOM, topShowing, viewFrom} from "./tree-layout.js";
import {drawOverview} from "./tree-overview.js";
import {boxText, boxWidth, centre, drawView} from "./tree-view.js";

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

const MOST_ZOOM = 3;
const ZOOM_STEP = 1.25;

// Numbers each drawing's elements, whose ids a description refers to.
let drawings = 0;

// The words of a path as a sentence names them: all of a short path, the ends of a long one.
function pathWords(tree, path) {
  const named = path.length > 12 ? [...path.slice(0, 6), -1, ...path.slice(-5)] : path;
  return named
    .map((node) => (node === -1 ? "…" : `"${cut(shown(tree.keys[node]), 24)}"`))
    .join(", ");
}

const widthOf = (tree) => (node) => boxWidth(boxText(tree, node));

// Draws the tree into holder: a view of its words from a top node (the root at first), the
// whole tree when it is small, some levels of it when it is large; zoomed out past the least
// readable size, an overview of its shape instead. A choice of the query answers shows a
// search's path. The controls are plain buttons and a list, so that all of it works by
// keyboard.
export function draw(holder, tree) {
  const n = tree.keys.length;
  const caption = document.createElement("p");
  if (n === 0) {
    caption.textContent = "Binary search tree of 0 words: the tree is empty.";
    holder.replaceChildren(caption);
    return;
  }
  drawings += 1;
  const label =
    `Binary search tree of ${formatCount(n)} words, height ${formatCount(tree.height)}, ` +
    `root "${cut(shown(tree.keys[tree.root]), 40)}"`;
  // What the view shows, which describes the picture to a screen reader too.
  const shownNote = document.createElement("span");
  shownNote.id = `tree-${drawings}-shown`;
  const pathNote = document.createElement("p");
  pathNote.id = `tree-${drawings}-path`;
  pathNote.className = "hint";
  caption.append(`${label}. `, shownNote);
  const controls = document.createElement("div");
  controls.className = "picture-controls";
  const scroller = document.createElement("div");
  scroller.className = "picture-scroller";
  // It scrolls, so it takes the focus, and the arrow keys pan the view.
  scroller.tabIndex = 0;
  scroller.setAttribute("role", "region");
  scroller.setAttribute("aria-label", "The tree, scrolled to pan");
  // zoom: null while the view is fitted to the frame; overview: whether the shape is shown
  // in place of the words.
  const view = {top: tree.root, search: null, zoom: null, overview: false, shownZoom: 1};
  const button = (text, action) => {
    const made = document.createElement("button");
    made.type = "button";
    made.textContent = text;
    made.addEventListener("click", action);
    controls.append(made);
    return made;
  };
  const parentOf = new Map();
  for (let node = 0; node < n; node += 1) {
    for (const child of [tree.left[node], tree.right[node]]) {
      if (child !== -1) {
        parentOf.set(child, node);
      }
    }
  }
  let fittedWidth = 0;
  const redraw = () => {
    fittedWidth = scroller.clientWidth;
    const layout = viewFrom(tree, view.top, fittedWidth, widthOf(tree));
    const fit = Math.max(LEAST_ZOOM, Math.min(1, fittedWidth / layout.width));
    view.shownZoom = view.zoom ?? fit;
    const from = tree.depth[view.top] + 1;
    const to = from + layout.levels - 1;
    const whole = layout.placed.size === tree.size[view.top];
    const part =
      view.top === tree.root
        ? whole
          ? "the whole tree"
          : `the top ${layout.levels} of its ${formatCount(tree.height)} levels`
        : `the subtree of "${cut(shown(tree.keys[view.top]), 40)}"${whole ? ", whole" : ""}, ` +
          `levels ${formatCount(from)} to ${formatCount(to)}`;
    zoomOut.disabled = view.overview;
    if (view.overview) {
      shownNote.textContent =
        `Shown: an overview of the whole tree, at a size too small for its words: a dot for ` +
        `each word, in order from left to right, on the row of its level, with the number ` +
        `of words on each level; a box marks ${part}. "Zoom in" shows the words again.`;
      scroller.replaceChildren(
        drawOverview(tree, fittedWidth, {top: view.top, levels: layout.levels}, view.search),
      );
      return;
    }
    shownNote.textContent =
      `Shown: ${part}` +
      (whole ? "." : "; a number under a word counts the words below it that are not shown.");
    const svg = drawView(
      tree,
      layout,
      {search: view.search, zoom: view.shownZoom, label},
      (node) => {
        Object.assign(view, {top: node, zoom: null});
        redraw();
      },
    );
    svg.setAttribute("aria-describedby", `${shownNote.id} ${pathNote.id}`);
    scroller.replaceChildren(svg);
    if (view.zoom === null && scroller.clientWidth < fittedWidth) {
      redraw(); // fitted again beside the scroll bar that a tall view brings
      return;
    }
    // The search's end, or else the top, in the middle of what is in sight.
    const {path} = view.search ?? {path: []};
    const focus = centre(layout.placed.get(path.length > 0 ? path[path.length - 1] : view.top));
    scroller.scrollLeft = focus.x * view.shownZoom - scroller.clientWidth / 2;
    scroller.scrollTop = focus.y * view.shownZoom - scroller.clientHeight / 2;
  };
  // Each change of the view's top fits it to the frame again.
  const showFrom = (top) => {
    Object.assign(view, {top, zoom: null, overview: false});
    redraw();
  };
  button("Show from the root", () => showFrom(tree.root));
  button("Up a level", () => showFrom(parentOf.get(view.top) ?? view.top));
  const zoomIn = button("Zoom in", () => {
    if (view.overview) {
      view.overview = false;
    } else {
      view.zoom = Math.min(MOST_ZOOM, view.shownZoom * ZOOM_STEP);
    }
    redraw();
  });
  const zoomOut = button("Zoom out", () => {
    if (view.shownZoom > LEAST_ZOOM) {
      view.zoom = Math.max(LEAST_ZOOM, view.shownZoom / ZOOM_STEP);
    } else {
      view.overview = true;
      zoomIn.focus(); // Zoom out is disabled in the overview
    }
    redraw();
  });
  if (tree.answers.length > 0) {
    const search = document.createElement("span");
    search.className = "picture-search";
    const choice = document.createElement("select");
    choice.id = `tree-${drawings}-answer`;
    const choiceLabel = document.createElement("label");
    choiceLabel.htmlFor = choice.id;
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
        showFrom(view.top);
        return;
      }
      const {key} = tree.answers[Number(choice.value)];
      view.search = {...searchPath(tree, key), key};
      const {path, found} = view.search;
      pathNote.textContent =
        `Search path of "${cut(shown(key), 40)}": compared with ` +
        `${counted(path.length, "word")}, ${pathWords(tree, path)}` +
        (found ? " — found." : " — not found: the search falls off the tree there.");
      // The view ends with the search: as much of its path as fits is shown.
      showFrom(topShowing(tree, path, scroller.clientWidth, widthOf(tree)));
    });
    search.append(choiceLabel, choice);
    controls.append(search);
    if (tree.answerCount > tree.answers.length) {
      const more = document.createElement("span");
      more.className = "hint";
      more.textContent = `(the first ${tree.answers.length} of ${formatCount(tree.answerCount)} answers)`;
      controls.append(more);
    }
  }
  holder.replaceChildren(caption, controls, pathNote, scroller);
  redraw();
  // A frame that changes width, as a phone turned or the results enlarged, is fitted anew; a
  // scroll bar that comes or goes leaves its border box as it was.
  let frameWidth = scroller.offsetWidth;
  const resized = new ResizeObserver(() => {
    if (!scroller.isConnected) {
      resized.disconnect();
    } else if (scroller.offsetWidth !== frameWidth) {
      frameWidth = scroller.offsetWidth;
      redraw();
    }
  });
  resized.observe(scroller, {box: "border-box"});
}
