// Runs the programs of programs.js, each run in a Web Worker of its own (program-worker.js), so
// that a run never holds up the page and can be stopped at once by ending its worker. A run
// hands its output over piece by piece as it is written, and keeps all of it: on disk where the
// browser gives the page a private file system (a Blob of hundreds of megabytes in memory is
// more than some browsers hold), in memory otherwise.
//
// A run that cannot finish rejects with a RunError whose reason says why:
//   "stopped"        the AbortSignal signal was aborted; the worker is ended at once
//   "output-limit"   the run wrote more than OUTPUT_LIMIT bytes; the first OUTPUT_LIMIT are kept
//   "aborted"        the program aborted
//   "crashed"        the program stopped on an error of the machine (a trap)
//   "unavailable"    the program could not be loaded or started, or the request is malformed

import {programNamed} from "./programs.js";
import {quoted} from "./quoted.js";

// The most output, of both streams together, that a run may write: beyond it a page would hold
// more than a tab can be sure of.
export const OUTPUT_LIMIT = 1024 ** 3;
const OUTPUTS_FOLDER = "run-outputs";

const WORKER_URL = new URL("program-worker.js", import.meta.url);

class RunError extends Error {
  constructor(message, reason) {
    super(message);
    this.name = "RunError";
    this.reason = reason;
  }
}

// Each program's compiled module, fetched and compiled once, when first asked for.
const modules = new Map();

// Starts fetching and compiling the program unless that has begun; resolves when it is ready.
export function prepare(program) {
  const entry = programNamed(program);
  if (!entry) {
    return Promise.reject(new RunError(`there is no program ${quoted(program)}`, "unavailable"));
  }
  if (!modules.has(program)) {
    const module = fetch(new URL(`${entry.module}.wasm`, import.meta.url))
      .then((response) => {
        if (!response.ok) {
          throw new Error(`HTTP status ${response.status}`);
        }
        return response.arrayBuffer();
      })
      .then((bytes) => WebAssembly.compile(bytes))
      .catch((error) => {
        modules.delete(program); // a later run tries again
        throw new RunError(`could not load ${entry.module}.wasm: ${error.message}`, "unavailable");
      });
    modules.set(program, module);
  }
  return modules.get(program);
}

// A file name is one name in the working directory: the page makes no folders.
function checkFileName(name) {
  if (name === "" || name === "." || name === ".." || name.includes("/")) {
    throw new RunError(`${quoted(name)} is no file name: give one name without "/"`, "unavailable");
  }
}

// This tab's folder of the origin's private file system, for the outputs of its runs; null
// where the browser has no such file system. The folder is held by a lock while the tab lives,
// and the folders of tabs that have gone are removed.
let tabFolder = null;

function outputsFolder() {
  tabFolder ??= (async () => {
    const outputs = await (await navigator.storage.getDirectory()).getDirectoryHandle(
      OUTPUTS_FOLDER,
      {create: true},
    );
    const tab = crypto.randomUUID();
    const folder = await outputs.getDirectoryHandle(tab, {create: true});
    if (navigator.locks) {
      await new Promise((held) =>
        navigator.locks.request(`${OUTPUTS_FOLDER}/${tab}`, () => {
          held();
          return new Promise(() => {});
        }),
      );
      for await (const name of outputs.keys()) {
        navigator.locks.request(
          `${OUTPUTS_FOLDER}/${name}`,
          {ifAvailable: true},
          (lock) =>
            lock && name !== tab && outputs.removeEntry(name, {recursive: true}).catch(() => {}),
        );
      }
    }
    return folder;
  })().catch(() => null);
  return tabFolder;
}

let storesMade = 0;

// Where the bytes of one output stream go as they arrive: a file of the tab's folder, or failing
// that a Blob built in memory a few megabytes at a time. blob() resolves, once every byte given
// to append() is kept, to a Blob (a File) of them all; discard() lets them go.
class OutputStore {
  static async open(folder, stream) {
    const store = new OutputStore();
    if (folder) {
      try {
        store.name = `${++storesMade}-${stream}`;
        store.folder = folder;
        store.writable = await (
          await folder.getFileHandle(store.name, {create: true})
        ).createWritable();
      } catch {
        store.writable = null;
      }
    }
    return store;
  }

  constructor() {
    this.writable = null;
    this.writing = Promise.resolve();
    this.pieces = [];
    this.piecesLength = 0;
    this.memory = new Blob([]);
  }

  append(bytes) {
    if (this.writable) {
      this.writing = this.writing.then(() => this.writable.write(bytes));
    } else {
      this.pieces.push(bytes);
      this.piecesLength += bytes.length;
      if (this.piecesLength >= 16 << 20) {
        this.settle();
      }
    }
  }

  settle() {
    this.memory = new Blob([this.memory, ...this.pieces], {type: "application/octet-stream"});
    this.pieces = [];
    this.piecesLength = 0;
  }

  async blob() {
    if (!this.writable) {
      this.settle();
      return this.memory;
    }
    await this.writing;
    await this.writable.close();
    return (await this.folder.getFileHandle(this.name)).getFile();
  }

  discard() {
    if (this.writable) {
      this.writing.then(() => this.folder.removeEntry(this.name)).catch(() => {});
    }
  }
}

// Runs program as a process runs: argv[0] is argv0, by default the program's plain name, and args
// follow it; files (name to Uint8Array) are in its working directory; stdin (a Uint8Array) is
// its standard input. receive(stream, bytes) gets each piece of output as it arrives, stream
// "stdout" or "stderr", in the order written. Resolves to {status, kept}, the exit status and
// the outputs kept, or rejects with a RunError whose `kept` holds what was written until then.
// kept.blobs() resolves to {stdout, stderr}, two Blobs of every byte written (up to
// OUTPUT_LIMIT), and kept.discard() lets them go.
export function run(program, {args, files, stdin, argv0 = program}, {receive, signal}) {
  const stores = outputsFolder().then((folder) =>
    Promise.all(["stdout", "stderr"].map((stream) => OutputStore.open(folder, stream))),
  );
  const kept = {
    blobs: async () => {
      const [stdout, stderr] = await stores;
      return {stdout: await stdout.blob(), stderr: await stderr.blob()};
    },
    discard: async () => {
      for (const store of await stores) {
        store.discard();
      }
    },
  };
  return new Promise((resolve, reject) => {
    Object.keys(files).forEach(checkFileName);
    let worker = null;
    let settled = false;
    let written = 0;
    const settle = (finish) => {
      if (!settled) {
        settled = true;
        if (worker) {
          worker.terminate();
        }
        signal?.removeEventListener("abort", stop);
        finish();
      }
    };
    const fail = (message, reason) =>
      settle(() => {
        const error = new RunError(message, reason);
        error.kept = kept;
        reject(error);
      });
    const stop = () => fail("the run was stopped", "stopped");
    if (signal?.aborted) {
      stop();
      return;
    }
    signal?.addEventListener("abort", stop);
    const accept = (opened, stream, bytes) => {
      const room = OUTPUT_LIMIT - written;
      const taken = bytes.length <= room ? bytes : bytes.subarray(0, room);
      written += taken.length;
      receive(stream, taken);
      opened[stream === "stdout" ? 0 : 1].append(taken);
      if (bytes.length > room) {
        fail(`the run wrote more than the output limit of ${OUTPUT_LIMIT} bytes`, "output-limit");
      }
    };
    Promise.all([prepare(program), stores]).then(
      ([module, opened]) => {
        if (settled) {
          return;
        }
        worker = new Worker(WORKER_URL);
        worker.onmessage = ({data}) => {
          if (settled) {
            return;
          }
          if (data.stream) {
            accept(opened, data.stream, data.bytes);
          } else if ("status" in data) {
            settle(() => resolve({status: data.status, kept}));
          } else {
            fail(data.failure, data.reason);
          }
        };
        worker.onerror = (event) => {
          event.preventDefault();
          fail(
            `could not start ${program}: ${event.message || "its script did not load"}`,
            "unavailable",
          );
        };
        const {module: moduleName} = programNamed(program);
        worker.postMessage({moduleName, module, args: [...args], argv0, files, stdin});
      },
      (error) => fail(error.message, error.reason || "unavailable"),
    );
  });
}
