// The inputs of a run as the form reads them: the arguments their text gives, and the line that
// sums them up beside Run.

import {counted, formatCount} from "./numbers.js";
import {quoted} from "./quoted.js";

// How many files the summary names; it counts the others.
const NAMED_FILES = 3;

// One argument per line; the line end after the last one ends it and adds none.
export function argumentsOf(text) {
  return text === "" ? [] : text.replace(/\n$/, "").split("\n");
}

// inputs: {args (the text), files: [{name, bytes}], stdin}, as form-view.js reads them; as
// "2 arguments, 1 file ("products.txt", 23 bytes), standard input 30 bytes".
export function summaryOf({args, files, stdin}) {
  const count = argumentsOf(args).length;
  const named = files
    .slice(0, NAMED_FILES)
    .map(({name, bytes}) => `${quoted(name)}, ${counted(bytes.length, "byte")}`);
  if (files.length > NAMED_FILES) {
    named.push(`and ${formatCount(files.length - NAMED_FILES)} more`);
  }
  const parts = [
    count === 0 ? "No arguments" : counted(count, "argument"),
    files.length === 0 ? "no files" : `${counted(files.length, "file")} (${named.join("; ")})`,
    stdin.length === 0 ? "empty standard input" : `standard input ${counted(stdin.length, "byte")}`,
  ];
  return parts.join(", ");
}
