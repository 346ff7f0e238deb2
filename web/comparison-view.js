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

// The nodes that show segments of visibleLine, the marked ones set apart, with their names.
function segmentNodes(segments) {
  return segments.map(([text, mark]) => {
    if (mark === null) {
      return text;
    }
    const made = element("span", "mark", text);
    made.title = mark;
    return made;
  });
}

// A shown line, with where the output ends said in words.
function lineNodes(line) {
  if (line.endsHere) {
    return ["(the output ends before this line)"];
  }
  return [
    ...segmentNodes(line.segments),
    ...(line.missingNewline ? ["   (no newline at the end of the output)"] : []),
  ];
}

function labelledLine(className, label, line) {
  const made = element("span", className, label);
  made.append(...lineNodes(line), "\n");
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
          missingNewline ? "   (no newline at the end)\n" : "\n",
        );
        shown.append(line);
      }
    }
    parts.push(
      element(
        "p",
        "hint",
        "Marked: \u240D a carriage return (CR), \u2192 a tab, " +
          "\u00B7 a space at the end of a line. Line diff: - expected " +
          "only, + actual only.",
      ),
      shown,
    );
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
