// Linked lists drawn as chains of boxes, for the pictures of roster_test's rosters and
// go_shopping's carts: "head", each box linked by an arrow to the next, and "null", in rows as
// the page's width allows. A box is as wide as the longest text, as far as the width allows;
// a longer text goes on over more lines of its box, so that no text is cut that the page has
// room for.

import {formatCount} from "../numbers.js";
import {CHARACTER_WIDTH, cut, pictureSvg, svgElement} from "./svg.js";

const HEAD_WIDTH = 68;
const END_WIDTH = 36;
const GAP = 28;
const ROW_GAP = 20;
const BOX_HEIGHT = 32;
const LINE_HEIGHT = 18;
// Lines of a box, at most: a text longer still is cut on its last line.
const MOST_LINES = 3;
// Characters of a box's text that its description gives, at most.
const DESCRIBED_CHARACTERS = 120;

// The width of a chain of `perRow` boxes of boxCharacters characters a row.
function chainWidth(perRow, boxCharacters) {
  return HEAD_WIDTH + perRow * (boxCharacters * CHARACTER_WIDTH + 16 + GAP) + END_WIDTH;
}

// A box's text in lines of at most `most` characters, broken after a space where one is.
export function boxLines(text, most) {
  const lines = [];
  let rest = text;
  while (rest.length > most && lines.length < MOST_LINES - 1) {
    const space = rest.lastIndexOf(" ", most);
    const end = space > 0 ? space : most;
    lines.push(rest.slice(0, end));
    rest = rest.slice(space > 0 ? end + 1 : end);
  }
  lines.push(cut(rest, most));
  return lines;
}

// Draws, into group, a linked list from x, y: a title line, then "head", each box (its text)
// linked by an arrow to the next, and "null", wrapping into rows of at most perRow boxes.
// Returns the height used.
function drawChain(group, x, y, title, boxes, {perRow, boxCharacters, rest}) {
  const boxWidth = boxCharacters * CHARACTER_WIDTH + 16;
  const right = x + chainWidth(perRow, boxCharacters);
  group.append(svgElement("text", {x, y: y + 14, class: "chain-title"}, title));
  const items = [
    ...boxes.map((text) => ({text})),
    ...(rest > 0 ? [{text: `… ${formatCount(rest)} more`, more: true}] : []),
    {end: true},
  ];
  const rows = [[]];
  let left = x + HEAD_WIDTH;
  for (const item of items) {
    item.width = item.end ? END_WIDTH : boxWidth;
    if (left + item.width > right) {
      rows.push([]);
      left = x + HEAD_WIDTH;
    }
    item.left = left;
    item.lines = item.end ? [] : boxLines(item.text, boxCharacters);
    item.height = BOX_HEIGHT + Math.max(0, item.lines.length - 1) * LINE_HEIGHT;
    rows[rows.length - 1].push(item);
    left += item.width + GAP;
  }
  let rowTop = y + 24;
  group.append(svgElement("text", {x, y: rowTop + 21, class: "chain-end"}, "head"));
  // The arrow that leads to the next item starts at `from`, the middle of the previous one's
  // right side; from the last of a row, it goes down below the row and back to the next.
  let from = {x: x + 4 * CHARACTER_WIDTH + 4, y: rowTop + 16};
  let rowBottom = rowTop;
  for (const [index, row] of rows.entries()) {
    if (index > 0) {
      rowTop = rowBottom + ROW_GAP;
      group.append(
        svgElement("path", {
          d:
            `M${from.x - boxWidth / 2},${from.bottom} V${rowBottom + 6} ` +
            `H${row[0].left - GAP / 2} V${rowTop + 16} H${row[0].left}`,
          class: "arrow",
          "marker-end": "url(#arrow-head)",
        }),
      );
    }
    for (const [place, item] of row.entries()) {
      if (index === 0 || place > 0) {
        group.append(
          svgElement("path", {
            d: `M${from.x},${rowTop + 16} H${item.left}`,
            class: "arrow",
            "marker-end": "url(#arrow-head)",
          }),
        );
      }
      if (item.end) {
        group.append(
          svgElement("text", {x: item.left + 4, y: rowTop + 21, class: "chain-end"}, "null"),
        );
      } else {
        group.append(
          svgElement("rect", {
            x: item.left,
            y: rowTop,
            width: item.width,
            height: item.height,
            rx: 4,
            class: item.more ? "chain-more" : "chain-box",
          }),
        );
        const text = svgElement("text", {x: item.left + 8, y: rowTop + 21, class: "chain-text"});
        if (item.lines.join(" ").length < item.text.length) {
          // Cut on its last line: the whole text shows on hover.
          text.append(svgElement("title", {}, cut(item.text, DESCRIBED_CHARACTERS)));
        }
        item.lines.forEach((line, number) => {
          text.append(
            svgElement("tspan", {x: item.left + 8, dy: number === 0 ? 0 : LINE_HEIGHT}, line),
          );
        });
        group.append(text);
      }
      from = {x: item.left + item.width, y: rowTop + 16, bottom: rowTop + item.height};
      rowBottom = Math.max(rowBottom, rowTop + item.height);
    }
  }
  return rowBottom + ROW_GAP - y;
}

// What a chain shows, for the picture's description.
function described({title, boxes, rest, after}) {
  return (
    `${title} — ` +
    [
      ...boxes.map((text) => cut(text, DESCRIBED_CHARACTERS)),
      ...(rest > 0 ? [`and ${formatCount(rest)} more`] : []),
    ].join("; ") +
    (after ? `; ${after}` : "")
  );
}

// Draws the chains ({title, boxes (their texts), rest (how many more there are), after (a line
// under the chain)}), one under another, as the picture labelled label, under a caption: as
// many boxes a row as the page's width holds at the pictures' own size, so that a phone shows
// them legibly.
export function drawChains(holder, label, captionText, chains) {
  const caption = document.createElement("p");
  caption.textContent = captionText;
  const longest = Math.max(8, ...chains.flatMap(({boxes}) => boxes.map((text) => text.length)));
  const width = holder.clientWidth || chainWidth(3, Math.min(longest, 24));
  const fitting = Math.floor((width - 16 - chainWidth(1, 0)) / CHARACTER_WIDTH);
  const boxCharacters = Math.max(8, Math.min(longest, fitting));
  let perRow = 3;
  while (perRow > 1 && 16 + chainWidth(perRow, boxCharacters) > width) {
    perRow -= 1;
  }
  const group = svgElement("g");
  let y = 4;
  for (const {title, boxes, rest = 0, after} of chains) {
    y += drawChain(group, 8, y, title, boxes, {perRow, boxCharacters, rest});
    if (after) {
      group.append(svgElement("text", {x: 8, y: y + 4, class: "chain-after"}, after));
      y += 20;
    }
    y += 12;
  }
  const svg = pictureSvg(
    `${label}. ${chains.map(described).join(". ")}.`,
    16 + chainWidth(perRow, boxCharacters),
    Math.max(40, y),
  );
  svg.append(group);
  holder.replaceChildren(caption, svg);
}
