// The counts behind word_count_driver's and word_count_solution's report, which lists the
// words alone. The page counts the words of the input file itself, with the programs' rules
// (words split at the six white-space bytes, one trailing ASCII punctuation byte stripped, A to
// Z lower-cased, every other byte kept), and draws a bar per reported word only when the
// report is exactly the page's words counted more often than the threshold, in descending
// order of their bytes, as the programs print them. The bars come most frequent first, or in
// the report's order, as the student chooses.

import {byteString, shown} from "../bytes.js";
import {counted, formatCount} from "../numbers.js";
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
// reported, mostFrequent, inReport}, the last two the first SHOWN_BARS words, as [{key, count}],
// most frequent first (a tie in byte order) and in the report's order. Throws NotInFormat or
// Disagreement.
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
  const bars = report.map((key) => ({key, count: counts.get(key)}));
  return {
    file: args[0],
    threshold: limit,
    reported: report.length,
    inReport: bars.slice(0, SHOWN_BARS),
    mostFrequent: bars
      .reverse()
      .sort((one, other) => other.count - one.count)
      .slice(0, SHOWN_BARS),
  };
}

const ROW = 22;
const LABEL_CHARACTERS = 14;
const ORDERS = {
  mostFrequent: "most frequent first",
  inReport: "in the report's order (descending bytes)",
};

// Numbers each drawing's choice of order.
let drawings = 0;

// The chart's SVG of bars, width wide, in that order (a key of ORDERS).
function chart(counts, order, width) {
  const bars = counts[order];
  const most = Math.max(1, ...counts.mostFrequent.map(({count}) => count));
  const labelWidth = LABEL_CHARACTERS * CHARACTER_WIDTH + 12;
  const barWidth = width - labelWidth - 70;
  const wordOf = (key) => (shown(key) === "" ? "(empty word)" : shown(key));
  const notDrawn = counts.reported - bars.length;
  const svg = pictureSvg(
    `Bar chart of word counts, ${ORDERS[order]}: ` +
      bars.map(({key, count}) => `"${wordOf(key)}" ${formatCount(count)}`).join(", ") +
      (notDrawn > 0 ? `; ${counted(notDrawn, "more word")} not drawn.` : "."),
    width,
    Math.max(1, bars.length) * ROW + 8,
  );
  bars.forEach(({key, count}, index) => {
    const y = index * ROW + 4;
    svg.append(
      svgElement(
        "text",
        {x: labelWidth - 8, y: y + 15, "text-anchor": "end", class: "bar-label"},
        cut(wordOf(key), LABEL_CHARACTERS),
      ),
    );
    const length = Math.max(2, (count / most) * barWidth);
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
  return svg;
}

export function draw(holder, counts) {
  drawings += 1;
  const drawn = counts.mostFrequent.length;
  const caption = document.createElement("p");
  caption.id = `word-counts-${drawings}-caption`;
  caption.textContent =
    `Word counts of ${counts.file}, as the page counts them: the ` +
    `${counted(counts.reported, "word")} the program reports (counted more often ` +
    `than ${formatCount(counts.threshold)}); ` +
    (counts.reported > drawn
      ? `${formatCount(drawn)} are drawn, and ${formatCount(counts.reported - drawn)} ` +
        `${counts.reported - drawn === 1 ? "is" : "are"} not.`
      : "all are drawn.");
  const choice = document.createElement("fieldset");
  choice.className = "picture-order";
  const legend = document.createElement("legend");
  legend.textContent = "Order of the bars:";
  choice.append(legend);
  // The bars take what the page's width leaves, so that a phone shows the chart legibly.
  const width = Math.min(700, Math.max(360, holder.clientWidth || 700));
  const bars = (order) => {
    const svg = chart(counts, order, width);
    svg.setAttribute("aria-describedby", caption.id);
    return svg;
  };
  for (const [order, text] of Object.entries(ORDERS)) {
    const option = document.createElement("label");
    const radio = document.createElement("input");
    radio.type = "radio";
    radio.name = `word-counts-${drawings}-order`;
    radio.checked = order === "mostFrequent";
    // The chart is the holder's last child.
    radio.addEventListener("change", () => holder.lastChild.replaceWith(bars(order)));
    option.append(radio, ` ${text[0].toUpperCase()}${text.slice(1)}`);
    choice.append(option);
  }
  holder.replaceChildren(caption, choice, bars("mostFrequent"));
}
