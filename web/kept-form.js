// Each program's inputs kept in the browser's local storage across a reload, packed as a run is
// (packed-run.js), and which program was chosen. Local storage holds a few megabytes: inputs
// larger than LARGEST_KEPT are left out, and the inputs kept name them. Where there is no
// storage, or no room in it, inputs are simply not kept.

import {fromBase64Url, pack, toBase64Url, unpack} from "./packed-run.js";
import {PROGRAMS} from "./programs.js";

const PREFIX = "five-console-programs:";
const CHOSEN_KEY = `${PREFIX}program`;
// An earlier page kept only the form shown, under this key: it becomes its program's inputs.
const FORM_KEY = `${PREFIX}form`;
const LARGEST_KEPT = 1 << 20;

function inputsKey(program) {
  return `${PREFIX}inputs:${program}`;
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

async function packed(inputs) {
  const dropped = [];
  const kept = (name, bytes) => {
    if (bytes.length <= LARGEST_KEPT) {
      return bytes;
    }
    dropped.push(name);
    return new Uint8Array();
  };
  return toBase64Url(
    await pack({
      ...inputs,
      files: inputs.files.map(({name, bytes}) => ({name, bytes: kept(name, bytes)})),
      stdin: kept("standard input", inputs.stdin),
      expected: {
        stdout: kept("expected standard output", inputs.expected.stdout),
        stderr: kept("expected standard error", inputs.expected.stderr),
        status: inputs.expected.status,
      },
      dropped,
    }),
  );
}

// The inputs waiting to be kept, by program, while an earlier keeping of the program's goes on.
const waiting = new Map();

// Keeps the program's inputs ({program, args, files, stdin, expected}, as the form reads them),
// or forgets them, for null: the program then shows its example. Called on every change, it
// keeps at once, one keeping at a time per program, and the last change last.
export async function keepInputs(program, inputs) {
  const busy = waiting.has(program);
  waiting.set(program, inputs);
  if (busy) {
    return;
  }
  for (;;) {
    const next = waiting.get(program);
    write(inputsKey(program), next && (await packed(next).catch(() => null)));
    if (waiting.get(program) === next) {
      waiting.delete(program);
      return;
    }
  }
}

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
    const kept = await unpacked(read(inputsKey(name)));
    if (kept?.program === name) {
      inputs.set(name, kept);
    }
  }
  return {chosen: read(CHOSEN_KEY), inputs};
}
