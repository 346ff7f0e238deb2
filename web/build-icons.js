// Draws the page's icon at build time, for build-site.js; never loaded by the page. The icon is
// a command prompt, ">_", in white on the page's blue: a few shapes, written out as SVG and
// drawn into PNGs of any size, so that every icon of the site is the same picture.

import {deflateSync} from "node:zlib";
import {crc32} from "./crc32.js";

// The picture, on a square of SIDE units: the background's colour and its corners' radius, and
// the prompt's shapes, each a polygon of [x, y] points.
const SIDE = 512;
const BACKGROUND = [11, 92, 173];
const CORNER = 96;
const PROMPT = [
  [
    [132, 188],
    [168, 152],
    [272, 256],
    [168, 360],
    [132, 324],
    [200, 256],
  ],
  [
    [290, 318],
    [392, 318],
    [392, 358],
    [290, 358],
  ],
];
// Each pixel of a PNG is SAMPLES × SAMPLES points of the picture, averaged: smooth edges.
const SAMPLES = 4;

const hex = (colour) => `#${colour.map((part) => part.toString(16).padStart(2, "0")).join("")}`;

// The icon as SVG.
export function svgIcon() {
  const paths = PROMPT.map((points) => `M${points.map(([x, y]) => `${x} ${y}`).join("L")}Z`);
  return (
    `<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 ${SIDE} ${SIDE}">` +
    `<rect width="${SIDE}" height="${SIDE}" rx="${CORNER}" fill="${hex(BACKGROUND)}"/>` +
    `<path d="${paths.join("")}" fill="#fff"/></svg>\n`
  );
}

// Whether the point is inside the polygon: a ray from it crosses the polygon's edges an odd
// number of times.
function inside(points, x, y) {
  let crossings = 0;
  points.forEach(([x1, y1], index) => {
    const [x2, y2] = points[(index + 1) % points.length];
    if (y1 > y !== y2 > y && x < x1 + ((y - y1) * (x2 - x1)) / (y2 - y1)) {
      crossings += 1;
    }
  });
  return crossings % 2 === 1;
}

// Whether the point is on the background, a square with corners of radius `corner`.
function onBackground(corner, x, y) {
  const dx = Math.max(corner - x, x - (SIDE - corner), 0);
  const dy = Math.max(corner - y, y - (SIDE - corner), 0);
  return dx * dx + dy * dy <= corner * corner;
}

// PNG's chunk: its length, type, data and the CRC-32 of type and data.
function chunk(type, data) {
  const bytes = new Uint8Array(12 + data.length);
  const view = new DataView(bytes.buffer);
  view.setUint32(0, data.length);
  bytes.set(Buffer.from(type, "latin1"), 4);
  bytes.set(data, 8);
  view.setUint32(8 + data.length, crc32(bytes.subarray(4, 8 + data.length)));
  return bytes;
}

// The icon as a PNG of size × size pixels, RGBA. A maskable icon, which a system crops to its own
// shape, fills its square: its corners are not rounded.
export function pngIcon(size, {maskable = false} = {}) {
  const corner = maskable ? 0 : CORNER;
  const row = 1 + 4 * size; // each row starts with its filter type, 0: none
  const pixels = new Uint8Array(row * size);
  const scale = SIDE / size / SAMPLES;
  for (let py = 0; py < size; py += 1) {
    for (let px = 0; px < size; px += 1) {
      let background = 0;
      let prompt = 0;
      for (let sy = 0; sy < SAMPLES; sy += 1) {
        for (let sx = 0; sx < SAMPLES; sx += 1) {
          const x = (px * SAMPLES + sx + 0.5) * scale;
          const y = (py * SAMPLES + sy + 0.5) * scale;
          if (onBackground(corner, x, y)) {
            background += 1;
            prompt += PROMPT.some((points) => inside(points, x, y)) ? 1 : 0;
          }
        }
      }
      const at = py * row + 1 + 4 * px;
      const white = background > 0 ? prompt / background : 0;
      BACKGROUND.forEach((part, index) => {
        pixels[at + index] = Math.round(part + (255 - part) * white);
      });
      pixels[at + 3] = Math.round((255 * background) / (SAMPLES * SAMPLES));
    }
  }
  const header = new Uint8Array(13);
  const view = new DataView(header.buffer);
  view.setUint32(0, size);
  view.setUint32(4, size);
  header.set([8, 6, 0, 0, 0], 8); // 8 bits a channel, RGBA, deflate, no filter, no interlace
  return Buffer.concat([
    Uint8Array.of(0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a),
    chunk("IHDR", header),
    chunk("IDAT", deflateSync(pixels)),
    chunk("IEND", new Uint8Array()),
  ]);
}
