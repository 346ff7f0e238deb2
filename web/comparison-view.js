// Shows how a run's output compares with the output the student expects: "Same bytes", or where
// the first difference is, the two lines there (expected above actual, invisible characters
// made visible) and a line diff around it.

import {formatCount} from "./numbers.js";
import {compare} from "./compare.js";

function element(name, className, text = "") {
  const made = document.createElement(name);
  made.className = className;
  made.textContent = text;
  return made;
}

// How each mark of compare.js is drawn: as plain letters in a small frame, which every font
// has, with its name as the title; spaces as themselves, each dotted.
const MARKS = {
  cr: {shown: "CR", title: "carriage return (CR)"},
  tab: {shown: "TAB", title: "tab"},
  spaces: {shown: null, title: "space at the end of the line"},
  end: {shown: "no newline", title: "the output ends here, without a newline"},
};

function markNode(mark, text) {
  const {shown, title} = MARKS[mark];
  const made = element("span", `mark ${mark}`, shown ?? text);
  made.title = title;
  return made;
}

// The nodes that show segments of visibleLine, the marked ones set apart.
function segmentNodes(segments) {
  return segments.map(([text, mark]) => (mark === null ? text : markNode(mark, text)));
}

// A shown line, with where the output ends marked.
function lineNodes(line) {
  if (line.endsHere) {
    return ["(the output ends before this line)"];
  }
  return [...segmentNodes(line.segments), ...(line.missingNewline ? [" ", markNode("end")] : [])];
}

function labelledLine(className, label, line) {
  const made = element("span", className, label);
  made.append(...lineNodes(line), "\n");
  return made;
}

function legend() {
  const made = element("p", "hint", "Marked: ");
  made.append(
    markNode("cr"),
    " a carriage return, ",
    markNode("tab"),
    " a tab, ",
    markNode("spaces", "  "),
    " spaces at the end of a line, ",
    markNode("end"),
    " the end of an output without a final newline. Line diff: - expected only, + actual only.",
  );
  return made;
}

// Compares expected (Uint8Array) with actual (a Blob) and fills holder with the report; `name`
// names the stream ("Standard output").
export async function showComparison(holder, name, expected, actual) {
  holder.replaceChildren(element("p", "comparison-verdict", `${name}: comparing…`));
  const result = await compare(expected, actual);
  if (result.same) {
    holder.replaceChildren(element("p", "comparison-verdict same", `${name}: Same bytes`));
    return;
  }
  const verdict = element(
    "p",
    "comparison-verdict differs",
    `${name}: First difference at line ${formatCount(result.line)}, ` +
      `column ${formatCount(result.column)}`,
  );
  const lines = element("pre", "comparison-lines");
  lines.append(
    labelledLine("expected-line", "expected: ", result.expected),
    labelledLine("actual-line", "actual:   ", result.actual),
  );
  const parts = [verdict, lines];
  const {diff} = result;
  if (diff.tooDifferent) {
    parts.push(
      element(
        "p",
        "hint",
        "The outputs differ in too many lines from there to show a " + "line diff.",
      ),
    );
  } else {
    const shown = element("pre", "line-diff");
    shown.tabIndex = 0; // it scrolls
    shown.setAttribute("role", "region");
    shown.setAttribute("aria-label", `${name}: line diff, expected lines marked -, actual +`);
    for (const [kind, segments, missingNewline] of diff.lines) {
      if (kind === "@") {
        shown.append(element("span", "diff-at", `@@ ${segments} @@\n`));
      } else {
        const line = element(
          "span",
          {"-": "diff-expected", "+": "diff-actual", " ": "diff-same"}[kind],
          `${kind} `,
        );
        line.append(
          ...segmentNodes(segments),
          ...(missingNewline ? [" ", markNode("end")] : []),
          "\n",
        );
        shown.append(line);
      }
    }
    parts.push(legend(), shown);
    const notes = [];
    if (diff.unshown > 0) {
      notes.push(`${formatCount(diff.unshown)} more differing lines are not shown.`);
    }
    if (diff.partial) {
      notes.push("Lines further on are not compared line by line.");
    }
    if (notes.length > 0) {
      parts.push(element("p", "hint", notes.join(" ")));
    }
  }
  holder.replaceChildren(...parts);
}
