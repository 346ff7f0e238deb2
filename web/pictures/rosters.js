// roster_test's two rosters, each drawn as the linked list it is, a chain of names from its
// head to its end; the two must list the same names in order.

import {shown} from "../bytes.js";
import {counted} from "../numbers.js";
import {Disagreement, NotInFormat, byteLines} from "./lines.js";
import {drawChains} from "./chains.js";

export const DISAGREEMENT = "the program's output disagrees with itself";

// Boxes drawn per roster, at most.
const SHOWN_NAMES = 40;

const ADD_HEADING = "Using the member function add: ";
const PLUS_HEADING = "Using the member function operator+=: ";
const EMPTY_ROSTER = "List is empty!";

// Reads roster_test's output (a Blob): {rosters: [{by, names, count}]}, `by` the member that
// built it, the names the first SHOWN_NAMES of each. Throws NotInFormat, or Disagreement when a
// roster is out of order or the two differ.
export async function read({stdout}) {
  const lines = await byteLines(stdout);
  if (lines[0] !== ADD_HEADING || lines[1] !== "") {
    throw new NotInFormat("it does not start with the heading of add and an empty line");
  }
  const second = lines.findIndex(
    (line, index) =>
      index >= 2 && line === "" && lines[index + 1] === PLUS_HEADING && lines[index + 2] === "",
  );
  if (second === -1) {
    throw new NotInFormat("the heading of operator+= is missing");
  }
  const rosters = [
    ["add", lines.slice(2, second)],
    ["operator+=", lines.slice(second + 3)],
  ].map(([by, names]) => {
    const listed = names.length === 1 && names[0] === EMPTY_ROSTER ? [] : names;
    listed.forEach((name, index) => {
      if (index > 0 && name < listed[index - 1]) {
        throw new Disagreement(`the list built by ${by} is out of order at "${shown(name)}"`);
      }
    });
    return {by, names: listed};
  });
  const differs = rosters[0].names.findIndex((name, index) => name !== rosters[1].names[index]);
  if (differs !== -1 || rosters[0].names.length !== rosters[1].names.length) {
    throw new Disagreement("the two lists differ, though both are built from the same names");
  }
  return {
    rosters: rosters.map(({by, names}) => ({
      by,
      count: names.length,
      names: names.slice(0, SHOWN_NAMES).map(shown),
    })),
  };
}

export function draw(holder, {rosters}) {
  drawChains(
    holder,
    "Two rosters, each a linked list of names from its head",
    "Each roster as its linked list, from its head to its end.",
    rosters.map(({by, names, count}) => ({
      title: `Built by ${by}: ${counted(count, "name")}`,
      boxes: names.map((name) => (name === "" ? "(empty name)" : name)),
      rest: count - names.length,
    })),
  );
}
