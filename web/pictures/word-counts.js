// The counts behind word_count_driver's and word_count_solution's report, which lists the
// words alone. The page counts the words of the input file itself, with the programs' rules
// (words split at the six white-space bytes, one trailing ASCII punctuation byte stripped, A to
// Z lower-cased, every other byte kept), and draws a bar per reported word only when the
// report is exactly the page's words counted more often than the threshold, in descending
// order of their bytes, as the programs print them.

import {byteString, shown} from "../bytes.js";
import {formatCount} from "../numbers.js";
import {Disagreement, NotInFormat, byteLines} from "./lines.js";
import {CHARACTER_WIDTH, cut, pictureSvg, svgElement} from "./svg.js";

export const DISAGREEMENT = "the page's count and the program's report disagree";

// Bars drawn, at most.
const SHOWN_BARS = 60;
const INT_MAX = 2147483647;
const INT_MIN = -2147483648;

function isWhiteSpace(byte) {
  return byte === 32 || (byte >= 9 && byte <= 13);
}

function isPunctuation(byte) {
  return (
    (byte >= 33 && byte <= 47) ||
    (byte >= 58 && byte <= 64) ||
    (byte >= 91 && byte <= 96) ||
    (byte >= 123 && byte <= 126)
  );
}

// The count argument as the programs read it: as atoi does, clamped to the int range.
function threshold(argument) {
  const found = /^[ \t\n\v\f\r]*([+-]?)(\d*)/.exec(argument);
  if (!found[2]) {
    return 0;
  }
  const value = Number(found[1] === "-" ? -BigInt(found[2]) : BigInt(found[2]));
  return Math.min(INT_MAX, Math.max(INT_MIN, value));
}

// Each normalised word of bytes, with how often it occurs, as byte strings.
function countWords(bytes) {
  const counts = new Map();
  for (let at = 0; at < bytes.length; ) {
    while (at < bytes.length && isWhiteSpace(bytes[at])) {
      at += 1;
    }
    const start = at;
    while (at < bytes.length && !isWhiteSpace(bytes[at])) {
      at += 1;
    }
    if (at > start) {
      const word = bytes.slice(start, isPunctuation(bytes[at - 1]) ? at - 1 : at);
      for (let i = 0; i < word.length; i += 1) {
        if (word[i] >= 65 && word[i] <= 90) {
          word[i] += 32;
        }
      }
      const key = byteString(word);
      counts.set(key, Math.min(INT_MAX, (counts.get(key) || 0) + 1));
    }
  }
  return counts;
}

// Reads the report (stdout, a Blob) of a run with these arguments and files: {file, threshold,
// bars: [{key, count}] (the first SHOWN_BARS, in the printed order), reported, most}. Throws
// NotInFormat or Disagreement.
export async function read({stdout, args, files}) {
  const name = args[0].replace(/^(\.\/)+/, "");
  if (!Object.hasOwn(files, name)) {
    throw new NotInFormat(`the input file "${args[0]}" is not among the files given`);
  }
  const limit = threshold(args[1]);
  const counts = countWords(files[name]);
  const report = await byteLines(stdout);
  report.forEach((word, index) => {
    if (index > 0 && !(word < report[index - 1])) {
      throw new Disagreement(`the report is not in descending order at line ${index + 1}`);
    }
    if (!((counts.get(word) || 0) > limit)) {
      throw new Disagreement(
        `the report gives "${shown(word)}" (line ${index + 1}), which the ` +
          `page counts ${counts.get(word) || 0} times, not more than ${limit}`,
      );
    }
  });
  const expected = [...counts.values()].filter((count) => count > limit).length;
  if (expected !== report.length) {
    throw new Disagreement(
      `the page counts ${expected} words more often than ${limit}; the ` +
        `report lists ${report.length}`,
    );
  }
  const bars = report.slice(0, SHOWN_BARS).map((key) => ({key, count: counts.get(key)}));
  return {
    file: args[0],
    threshold: limit,
    bars,
    reported: report.length,
    most: Math.max(1, ...bars.map(({count}) => count)),
  };
}

const ROW = 22;
const LABEL_CHARACTERS = 14;

export function draw(holder, counts) {
  const caption = document.createElement("p");
  caption.textContent =
    `Word counts of ${counts.file}, as the page counts them: the ` +
    `${formatCount(counts.reported)} words the program reports (counted more often ` +
    `than ${formatCount(counts.threshold)}), in its order` +
    (counts.reported > counts.bars.length ? `; the first ${counts.bars.length} are drawn.` : ".");
  // The bars take what the page's width leaves, so that a phone shows the chart legibly.
  const labelWidth = LABEL_CHARACTERS * CHARACTER_WIDTH + 12;
  const width = Math.min(700, Math.max(360, holder.clientWidth || 700));
  const barWidth = width - labelWidth - 70;
  const svg = pictureSvg("Word counts", width, Math.max(1, counts.bars.length) * ROW + 8);
  counts.bars.forEach(({key, count}, index) => {
    const y = index * ROW + 4;
    const text = shown(key);
    svg.append(
      svgElement(
        "text",
        {x: labelWidth - 8, y: y + 15, "text-anchor": "end", class: "bar-label"},
        text === "" ? "(empty word)" : cut(text, LABEL_CHARACTERS),
      ),
    );
    const length = Math.max(2, (count / counts.most) * barWidth);
    svg.append(
      svgElement("rect", {x: labelWidth, y: y + 3, width: length, height: ROW - 6, class: "bar"}),
    );
    svg.append(
      svgElement(
        "text",
        {x: labelWidth + length + 6, y: y + 15, class: "bar-count"},
        formatCount(count),
      ),
    );
  });
  holder.replaceChildren(caption, svg);
}
