// The tree picture's overview, for a scale too small to read its words: the shape of the whole
// tree, a dot for each word, in order from left to right, on the row of its level, and beside
// the rows how many words each level holds (each band of levels, when they are too many to
// label one by one). The part that the view of words shows is outlined, and a search's path
// drawn. It is one canvas, whatever the tree's size, so that the page holds no element per word.

import {formatCount} from "../numbers.js";

const LABEL_HEIGHT = 16;
const PAD = 8;
const FONT = "12px system-ui, sans-serif";
const DOT = "#0b5cad";
const EDGE = "#9a9a9a";
const MARKED = "#b35c00";

// The rows of labels: at most `rows` bands of as many levels each, [from, to), each with its
// count of words.
function bands(tree, rows) {
  const levels = tree.height;
  const words = new Array(levels).fill(0);
  for (const level of tree.depth) {
    words[level] += 1;
  }
  const size = Math.ceil(levels / Math.max(1, rows));
  return Array.from({length: Math.ceil(levels / size)}, (_, band) => {
    const from = band * size;
    const to = Math.min(levels, from + size);
    const sum = words.slice(from, to).reduce((total, each) => total + each, 0);
    return {
      text:
        to - from === 1
          ? `level ${formatCount(from + 1)}: ${formatCount(sum)}`
          : `levels ${formatCount(from + 1)}–${formatCount(to)}: ${formatCount(sum)}`,
      from,
      to,
    };
  });
}

// The overview of tree, width CSS pixels wide; shown ({top, levels}) is the part the view of
// words shows, search its search ({path}) or null. Returns the canvas, labelled for a screen
// reader with what it shows.
export function drawOverview(tree, width, shown, search) {
  const n = tree.keys.length;
  const plotHeight = Math.min(320, Math.max(96, tree.height * 24));
  const rows = bands(tree, Math.floor(plotHeight / LABEL_HEIGHT));
  const canvas = document.createElement("canvas");
  const context = canvas.getContext("2d");
  context.font = FONT;
  const gutter = Math.max(...rows.map(({text}) => context.measureText(text).width)) + 2 * PAD;
  const height = plotHeight + 2 * PAD;
  const scale = window.devicePixelRatio || 1;
  canvas.width = Math.round(width * scale);
  canvas.height = Math.round(height * scale);
  canvas.style.width = `${width}px`;
  canvas.style.height = `${height}px`;
  canvas.className = "tree-overview";
  canvas.setAttribute("role", "img");
  canvas.setAttribute(
    "aria-label",
    `Overview of the tree's ${formatCount(n)} words, by level: ` +
      `${rows.map(({text}) => text).join(", ")}.`,
  );
  context.scale(scale, scale);
  context.font = FONT;
  const plotWidth = Math.max(1, width - gutter - PAD);
  const x = (node) => PAD + ((node + 0.5) * plotWidth) / n;
  const rowHeight = plotHeight / tree.height;
  const y = (level) => PAD + (level + 0.5) * rowHeight;
  const dot = Math.max(0.75, Math.min(4, plotWidth / n / 2.5, rowHeight / 2.5));
  // Edges only where the dots stand apart: denser, they would hide the shape.
  if (n <= plotWidth / 4) {
    context.strokeStyle = EDGE;
    context.beginPath();
    for (let node = 0; node < n; node += 1) {
      for (const child of [tree.left[node], tree.right[node]]) {
        if (child !== -1) {
          context.moveTo(x(node), y(tree.depth[node]));
          context.lineTo(x(child), y(tree.depth[child]));
        }
      }
    }
    context.stroke();
  }
  context.fillStyle = DOT;
  for (let node = 0; node < n; node += 1) {
    context.fillRect(x(node) - dot, y(tree.depth[node]) - dot, 2 * dot, 2 * dot);
  }
  context.strokeStyle = MARKED;
  context.lineWidth = 2;
  if (search && search.path.length > 0) {
    context.beginPath();
    search.path.forEach((node, index) => {
      context[index === 0 ? "moveTo" : "lineTo"](x(node), y(tree.depth[node]));
    });
    context.stroke();
  }
  // The words of the top's subtree lie together in order: from its leftmost descendant to its
  // rightmost.
  const {top, levels} = shown;
  let first = top;
  while (tree.left[first] !== -1) {
    first = tree.left[first];
  }
  let last = top;
  while (tree.right[last] !== -1) {
    last = tree.right[last];
  }
  const level = tree.depth[top];
  context.strokeRect(
    x(first) - dot - 2,
    y(level) - rowHeight / 2,
    x(last) - x(first) + 2 * dot + 4,
    levels * rowHeight,
  );
  context.fillStyle = "#1b1b1b";
  context.textBaseline = "middle";
  for (const {text, from, to} of rows) {
    context.fillText(text, width - gutter + PAD, PAD + ((from + to) / 2) * rowHeight);
  }
  return canvas;
}
