// Runs one program once, in a Web Worker of its own, as a process runs: the page posts
// {moduleName, module, args, argv0, files, stdin} (moduleName the name of the program's module,
// whose script <moduleName>.js defines the factory create_<moduleName>; module the program's
// compiled WebAssembly.Module; files from name to Uint8Array) and ends the worker when the run is over or stopped. The worker
// posts, in this order:
//   {stream: "stdout" | "stderr", bytes}   the bytes the program wrote, unconverted, as it
//                                          writes them (a piece at least every few ms)
//   {status}                               the program exited with this status
//   {failure, reason}                      or it could not finish: reason "aborted", "crashed"
//                                          or "unavailable", failure a sentence that says why
// An exception that escapes (the program's script cannot be loaded) reaches the page as the
// worker's error event.
"use strict";

// Emscripten's home folder, which every instance's file system has.
const WORKING_DIRECTORY = "/home/web_user";
// Output goes to the page in pieces of at most this size...
const PIECE_BYTES = 1 << 20;
// ...and, while a program writes, at least this often, so that what a stopped run shows is what
// it had written until a few milliseconds before.
const HAND_OVER_MS = 4;

// One output stream's bytes on their way to the page.
class Outlet {
  constructor(stream) {
    this.stream = stream;
    this.piece = new Uint8Array(PIECE_BYTES);
    this.length = 0;
  }

  write(bytes) {
    for (let at = 0; at < bytes.length; ) {
      const taken = Math.min(bytes.length - at, PIECE_BYTES - this.length);
      this.piece.set(bytes.subarray(at, at + taken), this.length);
      this.length += taken;
      at += taken;
      if (this.length === PIECE_BYTES) {
        // A full piece is handed over whole, without a copy.
        self.postMessage({stream: this.stream, bytes: this.piece}, [this.piece.buffer]);
        this.piece = new Uint8Array(PIECE_BYTES);
        this.length = 0;
      }
    }
  }

  handOver() {
    if (this.length > 0) {
      self.postMessage({stream: this.stream, bytes: this.piece.slice(0, this.length)});
      this.length = 0;
    }
  }
}

// What a run that did not exit says to a student, from what Emscripten reports.
function failureOf(thrown, abortMessage) {
  if (abortMessage !== null) {
    // An assertion that failed says which; a plain abort() says nothing more.
    const assertion = /^Assertion failed: (.*)$/s.exec(abortMessage);
    return {
      reason: "aborted",
      failure: `the program aborted${assertion ? ` (assertion failed: ${assertion[1]})` : ""}`,
    };
  }
  if (thrown instanceof WebAssembly.RuntimeError) {
    return {reason: "crashed", failure: `the program crashed (${thrown.message})`};
  }
  return {
    reason: "unavailable",
    failure: `the program could not run (${thrown?.message || thrown})`,
  };
}

function runOnce({moduleName, module, args, argv0, files, stdin}) {
  importScripts(`${moduleName}.js`);
  const outlets = {stdout: new Outlet("stdout"), stderr: new Outlet("stderr")};
  let handedOver = performance.now();
  const handOverIfDue = () => {
    const now = performance.now();
    if (now - handedOver >= HAND_OVER_MS) {
      outlets.stdout.handOver();
      outlets.stderr.handOver();
      handedOver = now;
    }
  };
  let read = 0;
  let abortMessage = null;
  let ended = false;
  const end = (message) => {
    if (!ended) {
      ended = true;
      outlets.stdout.handOver();
      outlets.stderr.handOver();
      self.postMessage(message);
    }
  };
  // The device's own read and write pass one byte per call; these take whole reads and
  // writes. `buffer` is the instance's heap, whose bytes are viewed unsigned.
  const streams = {
    0: {
      read: (_stream, buffer, offset, length) => {
        const taken = Math.min(length, stdin.length - read);
        new Uint8Array(buffer.buffer, buffer.byteOffset + offset, taken).set(
          stdin.subarray(read, read + taken),
        );
        read += taken;
        return taken;
      },
    },
    1: {
      write: (_stream, buffer, offset, length) => {
        outlets.stdout.write(new Uint8Array(buffer.buffer, buffer.byteOffset + offset, length));
        handOverIfDue();
        return length;
      },
    },
    2: {
      write: (_stream, buffer, offset, length) => {
        outlets.stderr.write(new Uint8Array(buffer.buffer, buffer.byteOffset + offset, length));
        handOverIfDue();
        return length;
      },
    },
  };
  const instance = {
    thisProgram: argv0,
    arguments: args,
    instantiateWasm: (imports, receive) => {
      // receive() runs main; what escapes it has already ended the run through quit.
      WebAssembly.instantiate(module, imports)
        .then((made) => receive(made, module))
        .catch((error) => end(failureOf(error, null)));
      return {};
    },
    preRun: [
      ({FS}) => {
        FS.chdir(WORKING_DIRECTORY);
        for (const [name, bytes] of Object.entries(files)) {
          FS.writeFile(name, bytes);
        }
      },
    ],
    // Given these, the runtime makes the standard streams devices rather than a terminal, as
    // for a program whose streams are redirected; their reads and writes are replaced below.
    stdin: () => null,
    stdout: () => {},
    stderr: () => {},
    onRuntimeInitialized: () => {
      for (const [fd, operations] of Object.entries(streams)) {
        const stream = instance.FS.getStream(Number(fd));
        stream.stream_ops = {...stream.stream_ops, ...operations};
      }
    },
    onAbort: (what) => {
      abortMessage = String(what);
    },
    // Emscripten ends every run here: with an ExitStatus when the program exited, with the
    // error otherwise (an abort, a trap).
    quit: (status, thrown) => {
      end(thrown && thrown.name === "ExitStatus" ? {status} : failureOf(thrown, abortMessage));
      throw thrown;
    },
  };
  // The factory's promise settles once the runtime is up, or fails with the run; quit has then
  // reported the end already.
  self[`create_${moduleName}`](instance).catch(() => {});
}

self.onmessage = ({data}) => {
  self.onmessage = null;
  runOnce(data);
};
