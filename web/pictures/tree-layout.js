// Where the tree picture puts the words of a view: which nodes the view holds, from its top node
// down, and a tidy layout of them, a level a row, as narrow as their boxes allow. A left subtree
// lies left of its parent and a right subtree right of it, no two boxes of a level overlap, and
// a parent stands midway above its two children, so that the top levels of a tree take little
// more width than their own words.

// A subtree of at most this many words is drawn whole; a larger one a few levels at a time.
export const WHOLE_TREE = 100;
// The smallest scale at which the words are drawn: below it, their text would be too small to
// read, and the picture shows an overview instead.
export const LEAST_ZOOM = 0.75;
// Levels that a view of a large subtree draws, at most, and at least.
const MOST_LEVELS = 6;
const LEAST_LEVELS = 2;
// Space between neighbouring boxes of a level, and at the picture's sides.
const GAP = 4;
const MARGIN = 2;

// The outline of a laid-out subtree: for each of its levels, the leftmost and rightmost edge of
// its boxes, from its root's centre.
function merged(outline, child, offset) {
  child.lefts.forEach((left, depth) => {
    outline.lefts[depth + 1] = Math.min(outline.lefts[depth + 1] ?? Infinity, left + offset);
    outline.rights[depth + 1] = Math.max(
      outline.rights[depth + 1] ?? -Infinity,
      child.rights[depth] + offset,
    );
  });
}

// Lays out `levels` levels of top's subtree (every level, for Infinity); widthOf(node) is the
// width of a node's box. Returns {placed: Map from node to {x, level}, in order, width, levels}:
// x the centre of its box, level counted from the top, 0; levels those that hold a node.
// REQUIRES: top is a node of tree; levels >= 1. The levels laid out are few (at most
// MOST_LEVELS) or the subtree small (at most WHOLE_TREE words), which bounds the recursion.
export function layOut(tree, top, levels, widthOf) {
  const offset = new Map(); // of each node but top: its centre's, from its parent's
  const shape = (node, level) => {
    const half = widthOf(node) / 2;
    const outline = {lefts: [-half], rights: [half]};
    if (level + 1 >= levels) {
      return outline;
    }
    const [left, right] = [tree.left[node], tree.right[node]].map((child) =>
      child === -1 ? null : shape(child, level + 1),
    );
    if (left && right) {
      let apart = 0;
      const common = Math.min(left.rights.length, right.lefts.length);
      for (let depth = 0; depth < common; depth += 1) {
        apart = Math.max(apart, left.rights[depth] - right.lefts[depth] + GAP);
      }
      offset.set(tree.left[node], -apart / 2);
      offset.set(tree.right[node], apart / 2);
    } else if (left) {
      // A lone child stands half a box aside, so that its side shows.
      offset.set(tree.left[node], -Math.max(half, left.rights[0]));
    } else if (right) {
      offset.set(tree.right[node], Math.max(half, -right.lefts[0]));
    }
    for (const [child, childOutline] of [
      [tree.left[node], left],
      [tree.right[node], right],
    ]) {
      if (childOutline) {
        merged(outline, childOutline, offset.get(child));
      }
    }
    return outline;
  };
  const outline = shape(top, 0);
  const leftmost = Math.min(...outline.lefts);
  const placed = [];
  const pending = [[top, 0, MARGIN - leftmost]];
  while (pending.length > 0) {
    const [node, level, x] = pending.pop();
    placed.push([node, {x, level}]);
    for (const child of [tree.left[node], tree.right[node]]) {
      if (offset.has(child)) {
        pending.push([child, level + 1, x + offset.get(child)]);
      }
    }
  }
  // A node's number is its place in order, as the keys are sorted.
  placed.sort(([one], [other]) => one - other);
  return {
    placed: new Map(placed),
    width: Math.max(...outline.rights) - leftmost + 2 * MARGIN,
    levels: outline.lefts.length,
  };
}

// The view whose top is top: the whole subtree, when it is small enough to read whole; else as
// many of its levels as fit into fitWidth at the least zoom, and at least LEAST_LEVELS.
export function viewFrom(tree, top, fitWidth, widthOf) {
  if (tree.size[top] <= WHOLE_TREE) {
    return layOut(tree, top, Infinity, widthOf);
  }
  for (let levels = MOST_LEVELS; levels > LEAST_LEVELS; levels -= 1) {
    const view = layOut(tree, top, levels, widthOf);
    if (view.width * LEAST_ZOOM <= fitWidth) {
      return view;
    }
  }
  return layOut(tree, top, LEAST_LEVELS, widthOf);
}

// The top of the view that shows the end of a search's path, with as much of the path above it
// as fits: the root, where its view reaches the end; else the highest of the path's last nodes
// whose view does.
export function topShowing(tree, path, fitWidth, widthOf) {
  const end = path.length - 1;
  for (let at = 0; at < end; at = Math.max(at + 1, end - MOST_LEVELS + 1)) {
    if (viewFrom(tree, path[at], fitWidth, widthOf).levels > end - at) {
      return path[at];
    }
  }
  return path[end];
}
