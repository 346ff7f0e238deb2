// Bytes and the text they show. The programs read and write bytes, and order words and lines by
// their bytes as unsigned values; the page shows bytes as UTF-8 text, and orders them as byte
// strings: strings of one character per byte (code 0 to 255), which compare as the bytes do.

// Shows bytes as text: a byte that is not UTF-8 shows as U+FFFD.
export const decoder = new TextDecoder("utf-8", {ignoreBOM: true});
export const encoder = new TextEncoder();

export function byteString(bytes) {
  let text = "";
  for (let at = 0; at < bytes.length; at += 8192) {
    text += String.fromCharCode(...bytes.subarray(at, at + 8192));
  }
  return text;
}

// The bytes of a byte string: byteString's inverse.
export function bytesOf(byteText) {
  return Uint8Array.from(byteText, (character) => character.charCodeAt(0));
}

// The text that a byte string shows.
export function shown(byteText) {
  return decoder.decode(bytesOf(byteText));
}

// The bytes that hex gives, two digits a byte.
export function bytesOfHex(hex) {
  return Uint8Array.from(hex.match(/../g) || [], (pair) => Number.parseInt(pair, 16));
}

// The first bytes of bytes, at most limit, not cutting a UTF-8 sequence in two.
// REQUIRES: bytes holds the byte after the limit, where there is one, as that byte says whether
// the limit cuts a sequence.
export function utf8Head(bytes, limit) {
  if (bytes.length <= limit) {
    return bytes;
  }
  let end = limit;
  // Back over continuation bytes (10xxxxxx) to the start of the sequence cut at the limit.
  for (let back = 0; back < 3 && end > 0 && (bytes[end] & 0xc0) === 0x80; back += 1) {
    end -= 1;
  }
  return bytes.subarray(0, end);
}

// Copies of the files' bytes (name to Uint8Array), to post to a worker with their buffers, which
// transfer: WebKit copies an array posted whole slowly enough to hold the page up (240 ms for a
// file of 30 MB), where copying it here and handing the copy over takes a few. Returns
// [copies, buffers].
export function copiesToTransfer(files) {
  const copies = Object.fromEntries(
    Object.entries(files).map(([name, bytes]) => [name, new Uint8Array(bytes)]),
  );
  return [copies, Object.values(copies).map((bytes) => bytes.buffer)];
}
