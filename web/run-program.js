// Runs the programs of programs.js, each run in a Web Worker of its own (program-worker.js), so
// that a run never holds up the page and can be stopped at once by ending its worker. A run
// hands its output over piece by piece as it is written, and keeps all of it, in a second worker
// (output-keeper.js), away from the page's thread: on disk where the browser gives the page a
// private file system (a Blob of hundreds of megabytes in memory is more than some browsers
// hold), in memory otherwise.
//
// A run that cannot finish rejects with a RunError whose reason says why:
//   "stopped"        the AbortSignal signal was aborted; the worker is ended at once
//   "output-limit"   the run wrote more than OUTPUT_LIMIT bytes; the first OUTPUT_LIMIT are kept
//   "aborted"        the program aborted
//   "crashed"        the program stopped on an error of the machine (a trap)
//   "unavailable"    the program could not be loaded or started, or the request is malformed

import {copiesToTransfer} from "./bytes.js";
import {programNamed} from "./programs.js";
import {quoted} from "./quoted.js";

// The most output, of both streams together, that a run may write: beyond it a page would hold
// more than a tab can be sure of.
export const OUTPUT_LIMIT = 1024 ** 3;
const OUTPUTS_FOLDER = "run-outputs";

const WORKER_URL = new URL("program-worker.js", import.meta.url);
const KEEPER_URL = new URL("output-keeper.js", import.meta.url);

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

let runsMade = 0;

// A run's outputs, kept by a worker of their own (output-keeper.js) as the run writes them:
// append(stream, bytes) hands a piece over, and takes it from the page; blobs() resolves, once
// every byte handed over is kept, to a Blob (a File) of each stream's; discard() lets them go.
// Resolves once the keeper is ready for the first piece.
async function openKept(program) {
  const keeper = new Worker(KEEPER_URL, {type: "module"});
  runsMade += 1;
  const names = {stdout: `${runsMade}-stdout`, stderr: `${runsMade}-stderr`};
  let folder = await outputsFolder();
  try {
    keeper.postMessage({folder, names});
  } catch {
    // A browser that cannot hand a folder to a worker keeps the outputs in memory.
    folder = null;
    keeper.postMessage({folder, names});
  }
  // What the keeper answers once told the run has ended; a keeper that fails to start or breaks
  // answers nothing, and says so only through its error event, which may come at any time.
  const answer = new Promise((resolve, reject) => {
    keeper.onmessage = ({data}) => (data.failure ? reject(new Error(data.failure)) : resolve(data));
    keeper.onerror = () => reject(new Error("the worker that keeps it failed"));
  }).finally(() => keeper.terminate());
  answer.catch(() => {}); // a failure is reported by blobs(), if it is asked for
  let finished = false;
  const kept = {
    append(stream, bytes) {
      keeper.postMessage({stream, bytes}, [bytes.buffer]);
    },
    blobs() {
      if (!finished) {
        finished = true;
        keeper.postMessage({finish: true});
      }
      return answer.catch((error) => {
        throw new Error(`could not keep the output of ${program}: ${error.message}`);
      });
    },
    async discard() {
      await kept.blobs().catch(() => {});
      for (const name of Object.values(names)) {
        folder?.removeEntry(name).catch(() => {});
      }
    },
  };
  return kept;
}

// Runs program as a process runs: argv[0] is argv0, by default the program's plain name, and args
// follow it; files (name to Uint8Array) are in its working directory; stdin (a Uint8Array) is
// its standard input. receive(stream, bytes) gets each piece of output as it arrives, stream
// "stdout" or "stderr", in the order written, to read before it returns: the piece is then
// handed over to be kept. Resolves to {status, kept}, the exit status and the outputs kept, or
// rejects with a RunError whose `kept` holds what was written until then. kept.blobs() resolves
// to {stdout, stderr}, two Blobs of every byte written (up to OUTPUT_LIMIT), and kept.discard()
// lets them go.
export function run(program, {args, files, stdin, argv0 = program}, {receive, signal}) {
  let opened = null; // once the request is found sound
  const kept = {
    blobs: async () => (await opened).blobs(),
    discard: async () => (await opened).discard(),
  };
  return new Promise((resolve, reject) => {
    Object.keys(files).forEach(checkFileName);
    opened = openKept(program);
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
    const accept = (keeping, stream, bytes) => {
      const room = OUTPUT_LIMIT - written;
      const taken = bytes.length <= room ? bytes : bytes.subarray(0, room);
      written += taken.length;
      receive(stream, taken);
      keeping.append(stream, taken);
      if (bytes.length > room) {
        fail(`the run wrote more than the output limit of ${OUTPUT_LIMIT} bytes`, "output-limit");
      }
    };
    Promise.all([prepare(program), opened]).then(
      ([module, keeping]) => {
        if (settled) {
          return;
        }
        worker = new Worker(WORKER_URL);
        worker.onmessage = ({data}) => {
          if (settled) {
            return;
          }
          if (data.stream) {
            accept(keeping, data.stream, data.bytes);
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
        const [sentFiles, buffers] = copiesToTransfer(files);
        const sentStdin = new Uint8Array(stdin);
        worker.postMessage(
          {moduleName, module, args: [...args], argv0, files: sentFiles, stdin: sentStdin},
          [...buffers, sentStdin.buffer],
        );
      },
      (error) => fail(error.message, error.reason || "unavailable"),
    );
  });
}
