// How the page quotes text that is not its own, such as a file name from a link, a saved run or
// the browser's storage: in double quotes, with every character that could end the quote, or
// move or hide the words around it, written as an escape. Quoted, it never reads as the page's
// own words.

// Control characters, and invisible ones that format text (direction marks, among them).
const UNSAFE = /[\p{Cc}\p{Cf}\u2028\u2029]/gu;

export function quoted(text) {
  return JSON.stringify(text).replace(
    UNSAFE,
    (character) => `\\u${character.codePointAt(0).toString(16).toUpperCase().padStart(4, "0")}`,
  );
}
