// The inputs of a run as the form holds them, {program, args, files: [{name, bytes}], stdin,
// expected: {stdout, stderr, status}}, every input as its exact bytes, packed into one
// compressed byte string: for a link to the run (in the URL's fragment, base64url), a saved run
// file, and the copy of the form kept across a reload (kept-form.js). What comes back from any
// of them is a stranger's data: it is checked whole before it fills the form, and a form can do
// nothing but hold it.

import {byteString, bytesOf, decoder, encoder} from "./bytes.js";
import {crc32} from "./crc32.js";
import {programNamed} from "./programs.js";

// A packing opens with MARK, a byte that no deflate stream starts with (its first block would
// be of the reserved type 3), then its format's version. The first format, version 1, had
// neither, nor a checksum: links shared before the checksum still open, unchecked.
const MARK = 0xff;
const VERSION = 2;
const FIRST_VERSION = 1;
const CHECKSUM_BYTES = 4;

// The packed form: MARK and VERSION; then, compressed as raw deflate, a 4-byte length, a JSON
// header that gives the version and every input's length, and the inputs' bytes in the header's
// order; then the CRC-32 of all the bytes before it. `dropped` names the inputs left out of a
// kept form, as too large.
export async function pack(inputs) {
  const parts = [
    ...inputs.files.map(({bytes}) => bytes),
    inputs.stdin,
    inputs.expected.stdout,
    inputs.expected.stderr,
  ];
  const header = encoder.encode(
    JSON.stringify({
      version: VERSION,
      program: inputs.program,
      args: inputs.args,
      files: inputs.files.map(({name, bytes}) => [name, bytes.length]),
      lengths: parts.slice(inputs.files.length).map((bytes) => bytes.length),
      status: inputs.expected.status,
      dropped: inputs.dropped || [],
    }),
  );
  const length = new Uint8Array(4);
  new DataView(length.buffer).setUint32(0, header.length);
  const stream = new Blob([length, header, ...parts])
    .stream()
    .pipeThrough(new CompressionStream("deflate-raw"));
  const compressed = new Uint8Array(await new Response(stream).arrayBuffer());
  const packed = new Uint8Array(2 + compressed.length + CHECKSUM_BYTES);
  packed.set([MARK, VERSION]);
  packed.set(compressed, 2);
  const checked = packed.length - CHECKSUM_BYTES;
  new DataView(packed.buffer).setUint32(checked, crc32(packed.subarray(0, checked)));
  return packed;
}

class Damaged extends Error {}

const isText = (value) => typeof value === "string";
const isLength = (value) => Number.isSafeInteger(value) && value >= 0;

// The compressed bytes of a packing, and its version; throws when its checksum does not match.
function opened(packed) {
  if (packed[0] !== MARK) {
    return {compressed: packed, version: FIRST_VERSION};
  }
  const checked = packed.length - CHECKSUM_BYTES;
  if (
    checked < 2 ||
    new DataView(packed.buffer, packed.byteOffset).getUint32(checked) !==
      crc32(packed.subarray(0, checked))
  ) {
    throw new Damaged("its checksum does not match: a character was changed or lost");
  }
  if (packed[1] !== VERSION) {
    throw new Damaged("it was made by another version of this page");
  }
  return {compressed: packed.subarray(2, checked), version: VERSION};
}

// The inputs that pack packed, or the first format packed; rejects when the bytes are not such
// a packing, whole.
export async function unpack(packed) {
  const {compressed, version} = opened(packed);
  let bytes;
  try {
    const stream = new Blob([compressed])
      .stream()
      .pipeThrough(new DecompressionStream("deflate-raw"));
    bytes = new Uint8Array(await new Response(stream).arrayBuffer());
  } catch {
    throw new Damaged("it is not compressed as a run is");
  }
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.length);
  const headerLength = bytes.length >= 4 ? view.getUint32(0) : Infinity;
  let header;
  try {
    header = JSON.parse(decoder.decode(bytes.subarray(4, 4 + headerLength)));
  } catch {
    throw new Damaged("its description cannot be read");
  }
  const files = Array.isArray(header?.files) ? header.files : null;
  const lengths = Array.isArray(header?.lengths) ? header.lengths : null;
  if (
    header.version !== version ||
    !programNamed(header.program) ||
    !isText(header.args) ||
    !isText(header.status) ||
    !files ||
    !lengths ||
    lengths.length !== 3 ||
    !lengths.every(isLength) ||
    !files.every((file) => Array.isArray(file) && isText(file[0]) && isLength(file[1])) ||
    !Array.isArray(header.dropped) ||
    !header.dropped.every(isText)
  ) {
    throw new Damaged("its description is not that of a run");
  }
  const all = [...files.map((file) => file[1]), ...lengths];
  if (4 + headerLength + all.reduce((sum, length) => sum + length, 0) !== bytes.length) {
    throw new Damaged("it is not whole");
  }
  const parts = [];
  for (let at = 4 + headerLength, index = 0; index < all.length; at += all[index], index += 1) {
    parts.push(bytes.slice(at, at + all[index]));
  }
  return {
    program: header.program,
    args: header.args,
    files: files.map(([name], index) => ({name, bytes: parts[index]})),
    stdin: parts[files.length],
    expected: {
      stdout: parts[files.length + 1],
      stderr: parts[files.length + 2],
      status: header.status,
    },
    dropped: header.dropped,
  };
}

export function toBase64Url(bytes) {
  return btoa(byteString(bytes)).replaceAll("+", "-").replaceAll("/", "_").replace(/=+$/, "");
}

// The bytes of a link's text; throws for a text that toBase64Url does not make, so that no
// changed character goes unnoticed, not even in the bits that the last one leaves unused.
export function fromBase64Url(text) {
  const bytes = /^[A-Za-z0-9_-]*$/.test(text)
    ? bytesOf(
        atob(
          text.replaceAll("-", "+").replaceAll("_", "/") + "=".repeat((4 - (text.length % 4)) % 4),
        ),
      )
    : null;
  if (!bytes || toBase64Url(bytes) !== text) {
    throw new Damaged("it holds characters a link to a run does not");
  }
  return bytes;
}
