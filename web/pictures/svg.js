// Making the pictures' SVG. Every text a picture shows comes from a program's output, its input
// or the student, so it goes in as a text node, never as markup.

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
