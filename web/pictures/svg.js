// Making the pictures' SVG. Every text a picture shows comes from a program's output, its input
// or the student, so it goes in as a text node, never as markup.

import {formatCount} from "../numbers.js";

const SVG = "http://www.w3.org/2000/svg";

// An SVG element with these attributes and, if given, this text.
export function svgElement(name, attributes = {}, text = null) {
  const element = document.createElementNS(SVG, name);
  for (const [attribute, value] of Object.entries(attributes)) {
    element.setAttribute(attribute, String(value));
  }
  if (text !== null) {
    element.textContent = text;
  }
  return element;
}

// The <svg role="img"> of a picture, labelled, its size width by height user units.
export function pictureSvg(label, width, height) {
  const svg = svgElement("svg", {
    role: "img",
    "aria-label": label,
    viewBox: `0 0 ${width} ${height}`,
    width,
    height,
    class: "picture",
  });
  svg.append(svgElement("title", {}, label));
  const marker = svgElement("marker", {
    id: "arrow-head",
    viewBox: "0 0 10 10",
    refX: 10,
    refY: 5,
    markerWidth: 7,
    markerHeight: 7,
    orient: "auto",
  });
  marker.append(svgElement("path", {d: "M0,0 L10,5 L0,10 z", class: "arrow-head"}));
  const definitions = svgElement("defs");
  definitions.append(marker);
  svg.append(definitions);
  return svg;
}

// A text cut to at most `most` characters, with an ellipsis where it was cut.
export function cut(text, most) {
  return text.length > most ? `${text.slice(0, most - 1)}…` : text;
}

// Average advance of a character of the pictures' monospace font, in user units.
export const CHARACTER_WIDTH = 8.4;

const HEAD_WIDTH = 68;
const END_WIDTH = 36;
const GAP = 28;
const ROW_HEIGHT = 52;

// The width of a chain of `perRow` boxes of boxCharacters characters a row.
export function chainWidth(perRow, boxCharacters) {
  return HEAD_WIDTH + perRow * (boxCharacters * CHARACTER_WIDTH + 16 + GAP) + END_WIDTH;
}

// Draws, into group, a linked list from x, y: a title line, then "head", each box (its text)
// linked by an arrow to the next, and "null", wrapping into rows of at most perRow boxes.
// Returns the height used.
export function drawChain(group, x, y, title, boxes, {perRow, boxCharacters, rest = 0}) {
  const boxWidth = boxCharacters * CHARACTER_WIDTH + 16;
  const right = x + chainWidth(perRow, boxCharacters);
  group.append(svgElement("text", {x, y: y + 14, class: "chain-title"}, title));
  const items = [
    ...boxes.map((text) => ({text})),
    ...(rest > 0 ? [{text: `… ${formatCount(rest)} more`, more: true}] : []),
    {text: "null", end: true},
  ];
  let rowTop = y + 24;
  group.append(svgElement("text", {x, y: rowTop + 21, class: "chain-end"}, "head"));
  // The arrow that leads to the next item starts at `from`.
  let from = {x: x + 4 * CHARACTER_WIDTH + 4, y: rowTop + 16};
  let left = x + HEAD_WIDTH;
  for (const item of items) {
    const width = item.end ? END_WIDTH : boxWidth;
    if (left + width > right) {
      // On to a new row: the arrow goes down and back to its start.
      rowTop += ROW_HEIGHT;
      left = x + HEAD_WIDTH;
      group.append(
        svgElement("path", {
          d:
            `M${from.x - boxWidth / 2},${from.y + 16} v6 H${left - GAP / 2} V${rowTop + 16} ` +
            `H${left}`,
          class: "arrow",
          "marker-end": "url(#arrow-head)",
        }),
      );
    } else {
      group.append(
        svgElement("path", {
          d: `M${from.x},${from.y} H${left}`,
          class: "arrow",
          "marker-end": "url(#arrow-head)",
        }),
      );
    }
    if (item.end) {
      group.append(svgElement("text", {x: left + 4, y: rowTop + 21, class: "chain-end"}, "null"));
    } else {
      group.append(
        svgElement("rect", {
          x: left,
          y: rowTop,
          width,
          height: 32,
          rx: 4,
          class: item.more ? "chain-more" : "chain-box",
        }),
      );
      group.append(
        svgElement(
          "text",
          {x: left + 8, y: rowTop + 21, class: "chain-text"},
          cut(item.text, boxCharacters),
        ),
      );
    }
    from = {x: left + width, y: rowTop + 16};
    left += width + GAP;
  }
  return rowTop + ROW_HEIGHT - y;
}

// Draws the chains, one under another, as the picture labelled label: as many boxes a row as
// the page's width holds at the pictures' own size, so that a phone shows them legibly.
export function drawChains(holder, label, captionText, chains, boxCharacters) {
  const caption = document.createElement("p");
  caption.textContent = captionText;
  const width = holder.clientWidth || chainWidth(3, boxCharacters);
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
  const svg = pictureSvg(label, 16 + chainWidth(perRow, boxCharacters), Math.max(40, y));
  svg.append(group);
  holder.replaceChildren(caption, svg);
}
