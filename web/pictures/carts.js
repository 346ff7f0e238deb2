// go_shopping's carts, each drawn as the linked list of orders that a showcart, a checkout or
// the closing report printed.

import {shown} from "../bytes.js";
import {counted, formatCount} from "../numbers.js";
import {NotInFormat, byteLines} from "./lines.js";
import {drawChains} from "./chains.js";

// Carts drawn, at most.
const SHOWN_CARTS = 30;

const SEPARATOR = "-".repeat(47);
const CART_HEADING = /^Shopping Cart for (.*)$/s;
const ORDER_LINE = /^ *(\d+) X (.*) @ \$(\S+)ea$/s;
const TOTAL_LINE = /^Total: {2}\$(\S+)$/s;
const CLOSING = "These are the carts that weren't checked out.";

// Reads go_shopping's output (a Blob): {carts: [{customer, printedBy, orders: [{quantity,
// product, price}], total}] (the first SHOWN_CARTS), count}, printedBy "showcart", "checkout" or
// "the closing report". Throws NotInFormat when a cart is not printed in full.
export async function read({stdout}) {
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
      throw new NotInFormat(`the cart printed from line ${at + 1} is not printed in full`);
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

export function draw(holder, {carts, count}) {
  const text =
    count === 0
      ? "No cart was printed: an empty cart prints as nothing."
      : `Each cart printed, as its linked list of orders (${formatCount(count)} in all` +
        (count > carts.length ? `; the first ${carts.length} are drawn` : "") +
        ").";
  drawChains(
    holder,
    `${counted(count, "shopping cart")} printed, each a linked list of orders`,
    text,
    carts.map(({customer, printedBy, orders, total}) => ({
      title: `${customer}, as ${printedBy} printed it`,
      boxes: orders.map(({quantity, product, price}) => `${quantity} × ${product} @ $${price}`),
      after: `Total: $${total}`,
    })),
  );
}
