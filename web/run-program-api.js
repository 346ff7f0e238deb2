// The programs for scripts, as page.js gives them to window.runProgram:
//
// runProgram(program, args, files, stdin, {signal, argv0}) runs one of the programs of
// programs.js as a process would run: argv[0] is argv0, by default the program's plain name, and
// args (strings) follow it; files (name to Uint8Array) are in its working directory; stdin (a
// Uint8Array) is its standard input; aborting signal (an AbortSignal) stops it. It resolves to
// {stdout, stderr, status}: the bytes the program wrote, unconverted, and its exit status. It
// rejects with a RunError whose reason says why the run could not finish (run-program.js), and
// whose stdout and stderr hold what was written until then (as far as OUTPUT_LIMIT).

import {run} from "./run-program.js";

// The bytes of both outputs, read whole, and let go.
async function bytesOf(kept) {
  const blobs = await kept.blobs();
  const bytes = {
    stdout: new Uint8Array(await blobs.stdout.arrayBuffer()),
    stderr: new Uint8Array(await blobs.stderr.arrayBuffer()),
  };
  kept.discard();
  return bytes;
}

export async function runProgram(program, args, files, stdin, {signal, argv0} = {}) {
  let result;
  try {
    result = await run(program, {args, files, stdin, argv0}, {signal, receive: () => {}});
  } catch (error) {
    if (error.kept) {
      Object.assign(error, await bytesOf(error.kept));
    }
    throw error;
  }
  return {...(await bytesOf(result.kept)), status: result.status};
}
