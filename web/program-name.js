// Linked into each program with --post-js, inside its factory: argv[0] is Module.thisProgram
// whatever that holds, an empty string too, as on a command line; the runtime itself keeps its
// "./this.program" for an empty name. This runs before main, which waits for the module.
if (typeof Module["thisProgram"] === "string") {
  thisProgram = Module["thisProgram"];
}
