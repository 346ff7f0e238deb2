// How the page writes numbers: counts as English writes them (1,048,576), a count with its noun,
// and durations in seconds.

export function formatCount(count) {
  return count.toLocaleString("en-US");
}

// "1 line" or "12 lines": a count and a noun, with "s" unless the count is one.
export function counted(count, noun) {
  return `${formatCount(count)} ${noun}${count === 1 ? "" : "s"}`;
}

export function seconds(milliseconds) {
  return `${(milliseconds / 1000).toFixed(1)} s`;
}
