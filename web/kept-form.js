// Each program's inputs kept in the browser's local storage across a reload, packed as a run is
// (packed-run.js), and which program was chosen. Local storage holds a few megabytes: inputs
// larger than LARGEST_KEPT are left out, and the inputs kept name them. Where there is no
// storage, or no room in it, inputs are simply not kept.
//
// Packing compresses, which takes time and ends after the page may have gone: inputs are packed
// once the student pauses, and when the page is hidden (a reload, a closed tab) the inputs not
// yet packed are written at once, unpacked, as a snapshot that the next page reads first.

import {byteString, bytesOf} from "./bytes.js";
import {fromBase64Url, pack, toBase64Url, unpack} from "./packed-run.js";
import {PROGRAMS} from "./programs.js";

const PREFIX = "five-console-programs:";
const CHOSEN_KEY = `${PREFIX}program`;
// An earlier page kept only the form shown, under this key: it becomes its program's inputs.
const FORM_KEY = `${PREFIX}form`;
const LARGEST_KEPT = 1 << 20;
// How long after the last change the inputs are packed, so that typing is not held up.
const PAUSE_MS = 300;

function inputsKey(program) {
  return `${PREFIX}inputs:${program}`;
}

function snapshotKey(program) {
  return `${PREFIX}snapshot:${program}`;
}

function read(key) {
  try {
    return localStorage.getItem(key);
  } catch {
    return null;
  }
}

// Sets key to text, or removes it for null; where storage refuses the text, removes the key.
function write(key, text) {
  try {
    if (text === null) {
      localStorage.removeItem(key);
    } else {
      localStorage.setItem(key, text);
    }
  } catch {
    try {
      localStorage.removeItem(key);
    } catch {
      // Storage that cannot even be cleared holds nothing of ours.
    }
  }
}

// The inputs as they are kept: each input over LARGEST_KEPT left out, and named in `dropped`.
function withoutLarge(inputs) {
  const dropped = [];
  const kept = (name, bytes) => {
    if (bytes.length <= LARGEST_KEPT) {
      return bytes;
    }
    dropped.push(name);
    return new Uint8Array();
  };
  return {
    ...inputs,
    files: inputs.files.map(({name, bytes}) => ({name, bytes: kept(name, bytes)})),
    stdin: kept("standard input", inputs.stdin),
    expected: {
      stdout: kept("expected standard output", inputs.expected.stdout),
      stderr: kept("expected standard error", inputs.expected.stderr),
      status: inputs.expected.status,
    },
    dropped,
  };
}

// The snapshot's form: JSON, each input's bytes as a byte string.
function snapshotOf(inputs) {
  const kept = withoutLarge(inputs);
  return JSON.stringify({
    ...kept,
    files: kept.files.map(({name, bytes}) => [name, byteString(bytes)]),
    stdin: byteString(kept.stdin),
    expected: {
      ...kept.expected,
      stdout: byteString(kept.expected.stdout),
      stderr: byteString(kept.expected.stderr),
    },
  });
}

function fromSnapshot(text) {
  const inputs = JSON.parse(text);
  return {
    ...inputs,
    files: inputs.files.map(([name, bytes]) => ({name, bytes: bytesOf(bytes)})),
    stdin: bytesOf(inputs.stdin),
    expected: {
      ...inputs.expected,
      stdout: bytesOf(inputs.expected.stdout),
      stderr: bytesOf(inputs.expected.stderr),
    },
  };
}

// The inputs waiting to be packed, by program (null: forget the program's inputs), and the
// timer of each.
const waiting = new Map();
const timers = new Map();

async function packAndKeep(program) {
  const inputs = waiting.get(program);
  const text = inputs && (await pack(withoutLarge(inputs)).then(toBase64Url, () => null));
  if (waiting.get(program) !== inputs) {
    return; // changed meanwhile: the next packing keeps it
  }
  write(inputsKey(program), text);
  write(snapshotKey(program), null);
  waiting.delete(program);
}

// Keeps the program's inputs ({program, args, files, stdin, expected}, as the form reads them),
// or forgets them, for null: the program then shows its example. Called on every change.
export function keepInputs(program, inputs) {
  waiting.set(program, inputs);
  clearTimeout(timers.get(program));
  timers.set(
    program,
    setTimeout(() => packAndKeep(program), PAUSE_MS),
  );
}

// Writes the inputs not yet packed as snapshots, at once: the page may be about to go.
function keepWaiting() {
  for (const [program, inputs] of waiting) {
    write(snapshotKey(program), inputs && snapshotOf(inputs));
    if (inputs === null) {
      write(inputsKey(program), null);
    }
  }
}
window.addEventListener("pagehide", keepWaiting);
document.addEventListener("visibilitychange", () => {
  if (document.visibilityState === "hidden") {
    keepWaiting();
  }
});

export function keepChoice(program) {
  write(CHOSEN_KEY, program);
}

// The inputs that text packs; null for none, or for damaged ones.
async function unpacked(text) {
  try {
    return text === null ? null : await unpack(fromBase64Url(text));
  } catch {
    return null;
  }
}

// The inputs of a snapshot; null for none, or for a damaged one.
function snapshot(text) {
  try {
    return text === null ? null : fromSnapshot(text);
  } catch {
    return null;
  }
}

// Resolves to {chosen, inputs}: the name of the program chosen last (null when none was kept),
// and a Map from each program to its inputs kept, whose `dropped` names those left out.
export async function keptInputs() {
  const earlier = read(FORM_KEY);
  if (earlier !== null) {
    const form = await unpacked(earlier);
    if (form && read(inputsKey(form.program)) === null) {
      write(inputsKey(form.program), earlier);
      write(CHOSEN_KEY, read(CHOSEN_KEY) ?? form.program);
    }
    write(FORM_KEY, null);
  }
  const inputs = new Map();
  for (const {name} of PROGRAMS) {
    const kept = snapshot(read(snapshotKey(name))) ?? (await unpacked(read(inputsKey(name))));
    if (kept?.program === name) {
      inputs.set(name, kept);
    }
  }
  return {chosen: read(CHOSEN_KEY), inputs};
}
