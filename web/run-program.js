// window.runProgram(program, args, files, stdin) runs one of the five programs as a process
// would run: argv[0] is the program's plain name and args follow it; files (name to Uint8Array)
// are in its working directory; stdin (a Uint8Array) is its standard input. It resolves to
// {stdout, stderr, status}: the bytes the program wrote, unconverted, and its exit status. It
// rejects with an Error that says why when the run cannot finish (the program aborted, or the
// page could not load or start it); the Error's stdout and stderr hold what was written first.
"use strict";

(() => {
  const PROGRAMS = ["go_shopping", "bst_driver", "word_count_driver", "word_count_solution",
                    "roster_test"];
  // Emscripten's home folder, which every instance's file system has.
  const WORKING_DIRECTORY = "/home/web_user";

  // Every program is fetched and compiled as the page loads, so that runs need no network
  // afterwards; each run then instantiates the compiled module afresh.
  const loaded = new Map(PROGRAMS.map((program) => [program, load(program)]));
  // A failure to load is reported by the run that needs the program.
  loaded.forEach((promise) => promise.catch(() => {}));

  function load(program) {
    const factory = new Promise((resolve, reject) => {
      const script = document.createElement("script");
      script.src = `${program}.js`;
      script.onload = () => resolve(window[`create_${program}`]);
      script.onerror = () => reject(new Error(`could not load ${program}.js`));
      document.head.append(script);
    });
    const module = fetch(`${program}.wasm`)
      .then((response) => {
        if (!response.ok) {
          throw new Error(`HTTP status ${response.status}`);
        }
        return response.arrayBuffer();
      })
      .then((bytes) => WebAssembly.compile(bytes))
      .catch((error) => {
        throw new Error(`could not load ${program}.wasm: ${error.message}`);
      });
    return Promise.all([factory, module]);
  }

  // A file name is one name in the working directory: the page makes no folders.
  function checkFileName(name) {
    if (name === "" || name === "." || name === ".." || name.includes("/")) {
      throw new Error(`"${name}" is no file name: give one name without "/"`);
    }
  }

  // The bytes a program writes, one at a time. A byte arrives signed, as the heap's Int8Array
  // holds it; the Uint8Array stores it modulo 256.
  class ByteSink {
    constructor() {
      this.buffer = new Uint8Array(4096);
      this.length = 0;
    }

    push(byte) {
      if (this.length === this.buffer.length) {
        const larger = new Uint8Array(2 * this.length);
        larger.set(this.buffer);
        this.buffer = larger;
      }
      this.buffer[this.length++] = byte;
    }

    bytes() {
      return this.buffer.slice(0, this.length);
    }
  }

  // Runs the program in a fresh instance; resolves to its exit status. Emscripten ends every
  // run through quit: with an ExitStatus when the program exited, with the error otherwise
  // (a trap, an abort).
  function runInstance(factory, module, options) {
    return new Promise((resolve, reject) => {
      const instantiateWasm = (imports, receive) => {
        // receive() runs main; what escapes it has already ended the run through quit.
        WebAssembly.instantiate(module, imports)
          .then((instance) => receive(instance, module))
          .catch(reject);
        return {};
      };
      const quit = (status, thrown) => {
        if (thrown && thrown.name === "ExitStatus") {
          resolve(status);
        } else {
          reject(thrown);
        }
        throw thrown;
      };
      // The factory's promise settles after main has ended, unless the instance failed first.
      factory({...options, instantiateWasm, quit})
        .then(() => reject(new Error("the program ended without an exit status")), reject);
    });
  }

  window.runProgram = async (program, args, files, stdin) => {
    if (!loaded.has(program)) {
      throw new Error(`there is no program "${program}"`);
    }
    Object.keys(files).forEach(checkFileName);
    const [factory, module] = await loaded.get(program);
    const stdout = new ByteSink();
    const stderr = new ByteSink();
    let read = 0;
    try {
      const status = await runInstance(factory, module, {
        thisProgram: program,
        arguments: [...args],
        // Byte callbacks, never the line-based print and printErr, which convert text.
        stdin: () => (read < stdin.length ? stdin[read++] : null),
        stdout: (byte) => stdout.push(byte),
        stderr: (byte) => stderr.push(byte),
        preRun: [({FS}) => {
          FS.chdir(WORKING_DIRECTORY);
          Object.entries(files).forEach(([name, bytes]) => FS.writeFile(name, bytes));
        }],
      });
      return {stdout: stdout.bytes(), stderr: stderr.bytes(), status};
    } catch (cause) {
      const error = new Error(`${program} stopped: ${cause && cause.message || cause}`);
      error.stdout = stdout.bytes();
      error.stderr = stderr.bytes();
      throw error;
    }
  };
})();
