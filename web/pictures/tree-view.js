// The SVG of one view of the tree picture: the words that a layout (tree-layout.js) places, each
// in a box joined to its children, a search's path marked on them, and under a word whose
// subtree goes on below the view, how many words it hides.

import {shown} from "../bytes.js";
import {formatCount} from "../numbers.js";
import {CHARACTER_WIDTH, cut, pictureSvg, svgElement} from "./svg.js";

const ROW_HEIGHT = 56;
const MOST_CHARACTERS = 16;
// Half the width of the words "not here" at their size.
const NOT_HERE_HALF = 30;

// The text of a node's box: its word, cut if long (its box's title gives it whole).
export function boxText(tree, node) {
  return cut(shown(tree.keys[node]), MOST_CHARACTERS);
}

export function boxWidth(text) {
  return Math.max(3, text.length) * CHARACTER_WIDTH + 8;
}

// The centre of a node placed at x on a level.
export function centre({x, level}) {
  return {x, y: level * ROW_HEIGHT + 24};
}

// The SVG of layout, drawn at zoom and labelled label; search ({path, found, key}, or null) is
// marked where it passes; chosen(node) is called when a word is clicked.
export function drawView(tree, layout, {search, zoom, label}, chosen) {
  const {placed} = layout;
  const height = layout.levels * ROW_HEIGHT + 12;
  const svg = pictureSvg(label, layout.width, height);
  svg.setAttribute("width", String(Math.floor(layout.width * zoom)));
  svg.setAttribute("height", String(Math.floor(height * zoom)));
  const onPath = new Set(search ? search.path : []);
  const end = search ? search.path[search.path.length - 1] : -1;
  const edges = svgElement("g");
  const boxes = svgElement("g");
  for (const [node, place] of placed) {
    const {x, y} = centre(place);
    const text = boxText(tree, node);
    let hidden = tree.size[node] - 1;
    for (const [child, side] of [
      [tree.left[node], -1],
      [tree.right[node], 1],
    ]) {
      if (placed.has(child)) {
        hidden -= tree.size[child];
        const to = centre(placed.get(child));
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
        node === end &&
        !search.found &&
        (search.key < tree.keys[node] ? -1 : 1) === side
      ) {
        // Where the search fell off the tree.
        const offX = x + (side * boxWidth(text)) / 3;
        edges.append(
          svgElement("line", {
            x1: x,
            y1: y + 14,
            x2: offX,
            y2: y + ROW_HEIGHT / 2,
            class: "edge missing",
          }),
        );
        // Its words stay within the picture, even under a box at its side.
        const textX = Math.min(Math.max(offX, NOT_HERE_HALF), layout.width - NOT_HERE_HALF);
        edges.append(
          svgElement(
            "text",
            {x: textX, y: y + ROW_HEIGHT / 2 + 14, class: "missing-text", "text-anchor": "middle"},
            "not here",
          ),
        );
      }
    }
    const kind = node === end && search.found ? "found" : onPath.has(node) ? "on-path" : "";
    const box = svgElement("g", {class: `node ${kind}`});
    box.append(svgElement("title", {}, shown(tree.keys[node])));
    const width = boxWidth(text);
    box.append(svgElement("rect", {x: x - width / 2, y: y - 14, width, height: 28, rx: 6}));
    box.append(svgElement("text", {x, y: y + 5, "text-anchor": "middle"}, text));
    if (hidden > 0) {
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
  return svg;
}
