// The page's controls: they gather a run's arguments, input files and standard input, call
// window.runProgram and show what the run wrote. This script comes first, so that an error in
// any of the page's scripts, or one that cannot load, is shown on the page.
"use strict";

(() => {
  const $ = (id) => document.getElementById(id);
  // Shows bytes as text: a byte that is not UTF-8 shows as the replacement character.
  const decoder = new TextDecoder("utf-8", {ignoreBOM: true});
  const encoder = new TextEncoder();

  function reportPageError(message) {
    const shown = $("page-error");
    shown.textContent = `Error in this page: ${message}`;
    shown.hidden = false;
  }
  // Capturing also catches the failed load of a script or style, which does not bubble.
  window.addEventListener("error", (event) => {
    const target = event.target;
    reportPageError(target === window ? event.message
                                      : `could not load ${target.src || target.href}`);
  }, true);
  window.addEventListener("unhandledrejection", (event) => {
    reportPageError(String(event.reason && event.reason.message || event.reason));
  });

  function sameBytes(a, b) {
    return a.length === b.length && a.every((byte, at) => byte === b[at]);
  }

  // A text box that holds bytes: those typed, in UTF-8, or those loaded into it (an upload, an
  // example) until its text is edited. A text box keeps no carriage return and no byte that is
  // not UTF-8, so loaded bytes are sent as they were loaded, not as they are shown.
  class ByteField {
    constructor(textarea, note) {
      this.textarea = textarea;
      this.note = note;
      this.loaded = null;
      textarea.addEventListener("input", () => this.load(null));
    }

    load(bytes) {
      this.loaded = bytes;
      this.note.textContent = "";
      if (bytes === null) {
        return;
      }
      this.textarea.value = decoder.decode(bytes);
      if (!sameBytes(encoder.encode(this.textarea.value), bytes)) {
        this.note.textContent = `Holds ${bytes.length} bytes as loaded, which this box cannot ` +
            "show exactly (carriage returns, or bytes that are not UTF-8). Editing the text " +
            "replaces them.";
      }
    }

    bytes() {
      return this.loaded || encoder.encode(this.textarea.value);
    }
  }

  const files = [];  // {group, name, field}, in the order shown
  let filesMade = 0;  // numbers the notes, whose ids must stay unique

  function addFile(name, bytes) {
    const group = $("file-template").content.firstElementChild.cloneNode(true);
    const nameBox = group.querySelector(".file-name");
    const contents = group.querySelector(".file-contents");
    const note = group.querySelector(".file-note");
    note.id = `file-note-${++filesMade}`;
    contents.setAttribute("aria-describedby", note.id);
    const file = {group, name: nameBox, field: new ByteField(contents, note)};
    const legend = group.querySelector("legend");
    const nameLegend = () => {
      legend.textContent = nameBox.value ? `File ${nameBox.value}` : "File";
    };
    nameBox.addEventListener("input", nameLegend);
    nameBox.value = name;
    nameLegend();
    file.field.load(bytes);
    group.querySelector(".remove-file").addEventListener("click", () => {
      files.splice(files.indexOf(file), 1);
      group.remove();
      $("add-file").focus();
    });
    files.push(file);
    $("files").append(group);
    return file;
  }

  function removeAllFiles() {
    files.splice(0).forEach((file) => file.group.remove());
  }

  function exampleBytes(name) {
    const hex = window.EXAMPLE_FILES[name];
    return Uint8Array.from(hex.match(/../g) || [], (pair) => parseInt(pair, 16));
  }

  function showProgram() {
    const program = window.PROGRAMS[$("program").value];
    $("summary").textContent = program.summary;
    $("usage").textContent = program.usage;
  }

  function loadExample(stdin) {
    const {example} = window.PROGRAMS[$("program").value];
    $("args").value = example.args.join("\n");
    removeAllFiles();
    example.files.forEach((name) => addFile(name, exampleBytes(name)));
    stdin.load(example.stdin.file ? exampleBytes(example.stdin.file)
                                   : encoder.encode(example.stdin.text));
  }

  // One argument per line; the line end after the last one ends it and adds none.
  function argumentsGiven() {
    const text = $("args").value;
    return text === "" ? [] : text.replace(/\n$/, "").split("\n");
  }

  function show(program, stream, bytes) {
    $(stream).textContent = decoder.decode(bytes);
    const link = $(`${stream}-download`);
    if (link.href) {
      URL.revokeObjectURL(link.href);
    }
    link.href = URL.createObjectURL(new Blob([bytes], {type: "application/octet-stream"}));
    link.download = `${program}-${stream}.txt`;
    link.textContent = `Download ${stream === "stdout" ? "standard output" : "standard error"}` +
                       ` (${bytes.length} bytes)`;
    link.hidden = false;
  }

  function clearResults() {
    for (const stream of ["stdout", "stderr"]) {
      $(stream).textContent = "";
      $(`${stream}-download`).hidden = true;
    }
    $("status").value = "";
    $("run-state").classList.remove("failed");
  }

  // Set while a run goes on. The Run button stays enabled: disabling it would take the focus
  // from a keyboard user.
  let running = false;

  async function run(stdin) {
    if (running) {
      return;
    }
    const program = $("program").value;
    const given = {};
    for (const file of files) {
      if (Object.hasOwn(given, file.name.value)) {
        $("run-state").textContent = `Two files are named "${file.name.value}": rename one.`;
        $("run-state").classList.add("failed");
        return;
      }
      given[file.name.value] = file.field.bytes();
    }
    running = true;
    clearResults();
    $("results").setAttribute("aria-busy", "true");
    $("run-state").textContent = `Running ${program}…`;
    try {
      const result = await window.runProgram(program, argumentsGiven(), given, stdin.bytes());
      show(program, "stdout", result.stdout);
      show(program, "stderr", result.stderr);
      $("status").value = String(result.status);
      $("run-state").textContent = `${program} exited with status ${result.status}.`;
    } catch (error) {
      show(program, "stdout", error.stdout || new Uint8Array());
      show(program, "stderr", error.stderr || new Uint8Array());
      $("status").value = "none";
      $("run-state").textContent = `The run did not finish: ${error.message}`;
      $("run-state").classList.add("failed");
    } finally {
      running = false;
      $("results").setAttribute("aria-busy", "false");
    }
    // On a narrow screen the results are below the form, out of sight of the Run button.
    if ($("results").getBoundingClientRect().top > window.innerHeight) {
      $("results").scrollIntoView();
    }
  }

  async function upload(input, receive) {
    for (const chosen of input.files) {
      receive(chosen.name, new Uint8Array(await chosen.arrayBuffer()));
    }
    input.value = "";  // the same file may be chosen again after an edit
  }

  document.addEventListener("DOMContentLoaded", () => {
    const stdin = new ByteField($("stdin"), $("stdin-note"));
    const select = $("program");
    for (const name of Object.keys(window.PROGRAMS)) {
      select.append(new Option(name, name));
    }
    select.addEventListener("change", showProgram);
    $("load-example").addEventListener("click", () => loadExample(stdin));
    $("add-file").addEventListener("click", () => addFile("", null).name.focus());
    $("upload-files").addEventListener("change", (event) => upload(event.target, (name, bytes) => {
      const same = files.find((file) => file.name.value === name);
      (same || addFile(name, null)).field.load(bytes);
    }));
    $("upload-stdin").addEventListener("change", (event) => upload(event.target,
        (name, bytes) => stdin.load(bytes)));
    $("run-form").addEventListener("submit", (event) => {
      event.preventDefault();
      run(stdin);
    });
    showProgram();
    loadExample(stdin);
  });
})();
