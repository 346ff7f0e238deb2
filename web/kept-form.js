// The form kept in the browser's local storage across a reload, packed as a run is
// (packed-run.js). Local storage holds a few megabytes: inputs larger than LARGEST_KEPT are left
// out, and the form kept names them. Where there is no storage, or no room in it, the form is
// simply not kept.

import {fromBase64Url, pack, toBase64Url, unpack} from "./packed-run.js";

const STORAGE_KEY = "five-console-programs:form";
const LARGEST_KEPT = 1 << 20;

// Keeps inputs ({program, args, files, stdin, expected}, as the form reads them).
export async function keepForm(inputs) {
  const dropped = [];
  const kept = (name, bytes) => {
    if (bytes.length <= LARGEST_KEPT) {
      return bytes;
    }
    dropped.push(name);
    return new Uint8Array();
  };
  const packed = await pack({
    ...inputs,
    files: inputs.files.map(({name, bytes}) => ({name, bytes: kept(name, bytes)})),
    stdin: kept("standard input", inputs.stdin),
    expected: {
      stdout: kept("expected standard output", inputs.expected.stdout),
      stderr: kept("expected standard error", inputs.expected.stderr),
      status: inputs.expected.status,
    },
    dropped,
  });
  try {
    localStorage.setItem(STORAGE_KEY, toBase64Url(packed));
  } catch {
    try {
      localStorage.removeItem(STORAGE_KEY);
    } catch {
      // Storage that cannot even be cleared holds nothing of ours.
    }
  }
}

// The inputs kept, with `dropped` naming those left out; null when none are kept, or what is
// kept is damaged.
export async function keptForm() {
  try {
    const kept = localStorage.getItem(STORAGE_KEY);
    return kept ? await unpack(fromBase64Url(kept)) : null;
  } catch {
    return null;
  }
}
