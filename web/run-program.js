// Runs the five programs, each run in a Web Worker of its own (program-worker.js), so that a
// run never holds up the page and can be stopped at once by ending its worker.
//
// window.runProgram(program, args, files, stdin, {signal, argv0}) runs one of them as a process
// would run: argv[0] is argv0, by default the program's plain name, and args follow it; files
// (name to Uint8Array) are in its working directory; stdin (a Uint8Array) is its standard
// input. It resolves to {stdout, stderr, status}: the bytes the program wrote, unconverted, and
// its exit status. It rejects with a RunError that says why when the run cannot finish; the
// error's stdout and stderr hold what was written until then. Its reason is one of:
//   "stopped"        the AbortSignal signal was aborted; the worker is ended at once
//   "output-limit"   the run wrote more than OUTPUT_LIMIT bytes; the first OUTPUT_LIMIT are kept
//   "aborted"        the program aborted
//   "crashed"        the program stopped on an error of the machine (a trap)
//   "unavailable"    the program could not be loaded or started, or the request is malformed
// The page itself uses run(), which hands the output over piece by piece as it is written.
"use strict";

export const PROGRAMS = ["go_shopping", "bst_driver", "word_count_driver", "word_count_solution",
                         "roster_test"];

// The most output, of both streams together, that a run may write: beyond it a page would hold
// more than a tab can be sure of.
export const OUTPUT_LIMIT = 1024 ** 3;

const WORKER_URL = new URL("program-worker.js", import.meta.url);

export class RunError extends Error {
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
  if (!PROGRAMS.includes(program)) {
    return Promise.reject(new RunError(`there is no program "${program}"`, "unavailable"));
  }
  if (!modules.has(program)) {
    const module = fetch(new URL(`${program}.wasm`, import.meta.url))
      .then((response) => {
        if (!response.ok) {
          throw new Error(`HTTP status ${response.status}`);
        }
        return response.arrayBuffer();
      })
      .then((bytes) => WebAssembly.compile(bytes))
      .catch((error) => {
        modules.delete(program);  // a later run tries again
        throw new RunError(`could not load ${program}.wasm: ${error.message}`, "unavailable");
      });
    modules.set(program, module);
  }
  return modules.get(program);
}

// A file name is one name in the working directory: the page makes no folders.
function checkFileName(name) {
  if (name === "" || name === "." || name === ".." || name.includes("/")) {
    throw new RunError(`"${name}" is no file name: give one name without "/"`, "unavailable");
  }
}

// Runs program with request {args, files, stdin, argv0}. receive(stream, bytes) gets each piece
// of output as it arrives, stream "stdout" or "stderr", in the order written; resolves to the
// exit status, or rejects with a RunError as window.runProgram does.
export function run(program, {args, files, stdin, argv0 = program}, {receive, signal}) {
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
    const fail = (message, reason) => settle(() => reject(new RunError(message, reason)));
    const stop = () => fail("the run was stopped", "stopped");
    if (signal?.aborted) {
      stop();
      return;
    }
    signal?.addEventListener("abort", stop);
    const accept = (stream, bytes) => {
      const room = OUTPUT_LIMIT - written;
      written += Math.min(bytes.length, room);
      receive(stream, bytes.length <= room ? bytes : bytes.subarray(0, room));
      if (bytes.length > room) {
        fail(`the run wrote more than the output limit of ${OUTPUT_LIMIT} bytes`,
             "output-limit");
      }
    };
    prepare(program).then((module) => {
      if (settled) {
        return;
      }
      worker = new Worker(WORKER_URL);
      worker.onmessage = ({data}) => {
        if (settled) {
          return;
        }
        if (data.stream) {
          accept(data.stream, data.bytes);
        } else if ("status" in data) {
          settle(() => resolve(data.status));
        } else {
          fail(data.failure, data.reason);
        }
      };
      worker.onerror = (event) => {
        event.preventDefault();
        fail(`could not start ${program}: ${event.message || "its script did not load"}`,
             "unavailable");
      };
      worker.postMessage({program, module, args: [...args], argv0, files, stdin});
    }, (error) => fail(error.message, error.reason || "unavailable"));
  });
}

// The bytes of one stream, gathered into one growing buffer.
class ByteSink {
  constructor() {
    this.buffer = new Uint8Array(4096);
    this.length = 0;
  }

  append(bytes) {
    if (this.length + bytes.length > this.buffer.length) {
      const larger = new Uint8Array(Math.max(2 * this.buffer.length, this.length + bytes.length));
      larger.set(this.buffer.subarray(0, this.length));
      this.buffer = larger;
    }
    this.buffer.set(bytes, this.length);
    this.length += bytes.length;
  }

  bytes() {
    return this.buffer.slice(0, this.length);
  }
}

window.runProgram = async (program, args, files, stdin, {signal, argv0} = {}) => {
  const sinks = {stdout: new ByteSink(), stderr: new ByteSink()};
  try {
    const status = await run(program, {args, files, stdin, argv0},
                             {signal, receive: (stream, bytes) => sinks[stream].append(bytes)});
    return {stdout: sinks.stdout.bytes(), stderr: sinks.stderr.bytes(), status};
  } catch (error) {
    error.stdout = sinks.stdout.bytes();
    error.stderr = sinks.stderr.bytes();
    throw error;
  }
};
