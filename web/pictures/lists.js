// The linked lists that roster_test and go_shopping print: roster_test's two rosters, each as a
// chain of names from its head to its end, and go_shopping's carts, each as the chain of orders
// that a showcart, a checkout or the closing report printed.

import {Disagreement, NotInForm, byteLines, shown} from "./lines.js";
import {chainWidth, drawChain, pictureSvg, svgElement} from "./svg.js";

// Boxes drawn per roster and carts drawn, at most.
const SHOWN_NAMES = 40;
const SHOWN_CARTS = 30;

const ADD_HEADING = "Using the member function add: ";
const PLUS_HEADING = "Using the member function operator+=: ";
const EMPTY_ROSTER = "List is empty!";

// Reads roster_test's output (a Blob): {rosters: [{by, names, count}]}, `by` the member that
// built it, the names the first SHOWN_NAMES of each. Throws NotInForm, or Disagreement when a roster is out of order or the
// two differ.
export async function readRosters(stdout) {
  const lines = await byteLines(stdout);
  if (lines[0] !== ADD_HEADING || lines[1] !== "") {
    throw new NotInForm("it does not start with the heading of add and an empty line");
  }
  const second = lines.findIndex(
    (line, index) =>
      index >= 2 && line === "" && lines[index + 1] === PLUS_HEADING && lines[index + 2] === "",
  );
  if (second === -1) {
    throw new NotInForm("the heading of operator+= is missing");
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

const SEPARATOR = "-".repeat(47);
const CART_HEADING = /^Shopping Cart for (.*)$/s;
const ORDER_LINE = /^ *(\d+) X (.*) @ \$(\S+)ea$/s;
const TOTAL_LINE = /^Total: {2}\$(\S+)$/s;
const CLOSING = "These are the carts that weren't checked out.";

// Reads go_shopping's output (a Blob): {carts: [{customer, printedBy, orders: [{quantity,
// product, price}], total}] (the first SHOWN_CARTS), count}, printedBy "showcart", "checkout" or
// "the closing report". Throws NotInForm when a cart is not printed in full.
export async function readCarts(stdout) {
  const lines = await byteLines(stdout);
  const carts = [];
  let closing = false;
  for (let at = 0; at < lines.length; at += 1) {
    closing ||= lines[at] === CLOSING;
    const heading = lines[at] === SEPARATOR && CART_HEADING.exec(lines[at + 1] ?? "");
    if (!heading) {
      continue;
    }
    const orders = [];
    let line = at + 2;
    for (
      let order = ORDER_LINE.exec(lines[line] ?? "");
      order;
      order = ORDER_LINE.exec(lines[++line] ?? "")
    ) {
      orders.push({quantity: order[1], product: shown(order[2]), price: order[3]});
    }
    const total = TOTAL_LINE.exec(lines[line + 1] ?? "");
    if (orders.length === 0 || lines[line] !== "" || !total || lines[line + 2] !== SEPARATOR) {
      throw new NotInForm(`the cart printed from line ${at + 1} is not printed in full`);
    }
    const checkout =
      lines[line + 3] === "" &&
      lines[line + 4] === "" &&
      lines[line + 5] === `Thanks for shopping with us, ${heading[1]}!`;
    carts.push({
      customer: shown(heading[1]),
      orders,
      total: total[1],
      printedBy: closing ? "the closing report" : checkout ? "checkout" : "showcart",
    });
    at = line + 2;
  }
  return {carts: carts.slice(0, SHOWN_CARTS), count: carts.length};
}

// Draws the chains, one under another, as the picture labelled label: as many boxes a row as
// the page's width holds at the pictures' own size, so that a phone shows them legibly.
function drawChains(holder, label, captionText, chains, boxCharacters) {
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

export function drawRosters(holder, {rosters}) {
  drawChains(
    holder,
    "Roster linked lists",
    "Each roster as its linked list, from its head to its end.",
    rosters.map(({by, names, count}) => ({
      title: `Built by ${by}: ${count.toLocaleString("en-US")} ` + `name${count === 1 ? "" : "s"}`,
      boxes: names.map((name) => (name === "" ? "(empty name)" : name)),
      rest: count - names.length,
    })),
    18,
  );
}

export function drawCarts(holder, {carts, count}) {
  const text =
    count === 0
      ? "No cart was printed: an empty cart prints as nothing."
      : `Each cart printed, as its linked list of orders (${count.toLocaleString("en-US")} in all` +
        (count > carts.length ? `; the first ${carts.length} are drawn` : "") +
        ").";
  drawChains(
    holder,
    "Shopping carts",
    text,
    carts.map(({customer, printedBy, orders, total}) => ({
      title: `${customer}, as ${printedBy} printed it`,
      boxes: orders.map(({quantity, product, price}) => `${quantity} × ${product} @ $${price}`),
      after: `Total: $${total}`,
    })),
    22,
  );
}
