// The page's controls: they gather a run's arguments, input files and standard input, run the
// program in a worker and show what it writes while it runs.
"use strict";

import {ByteField, counted, encoder, formatCount} from "./byte-field.js";
import {EXAMPLE_FILES} from "./examples.js";
import {OutputView} from "./output-view.js";
import {EXAMPLES} from "./programs.js";
import {OUTPUT_LIMIT, prepare, run} from "./run-program.js";

const $ = (id) => document.getElementById(id);

// How often the state line tells the time and bytes of a run in progress.
const PROGRESS_MS = 500;

// The form as the student left it: {program, args, files: [{name, bytes}], stdin}, the bytes
// exact. Examples, undo and (by form-state.js) links and saved runs go through this one shape.
const form = {
  files: [],  // {group, nameBox, field}, in the order shown
  filesMade: 0,  // numbers the notes, whose ids must stay unique
  stdin: null,  // the ByteField of standard input
  // Whether the inputs differ from what the page last loaded (an example, a restored run),
  // so that choosing another program keeps them.
  changed: false,
  // The inputs that loading an example replaced, while they can still be brought back.
  replaced: null,
};

function markChanged() {
  form.changed = true;
}

function addFile(name, bytes) {
  const group = $("file-template").content.firstElementChild.cloneNode(true);
  const nameBox = group.querySelector(".file-name");
  const contents = group.querySelector(".file-contents");
  const note = group.querySelector(".file-note");
  note.id = `file-note-${++form.filesMade}`;
  contents.setAttribute("aria-describedby", note.id);
  const file = {group, nameBox};
  file.field = new ByteField({textarea: contents, note, large: group.querySelector(".large"),
                              hide: group.querySelector(".file-box"), onChange: markChanged});
  const legend = group.querySelector("legend");
  const nameLegend = () => {
    legend.textContent = nameBox.value ? `File ${nameBox.value}` : "File";
  };
  nameBox.addEventListener("input", () => {
    nameLegend();
    markChanged();
  });
  nameBox.value = name;
  nameLegend();
  if (bytes) {
    file.field.load(bytes, name);
  }
  group.querySelector(".replace-file").addEventListener("change", (event) => upload(
    event.target, (chosenName, chosen) => file.field.load(chosen, nameBox.value)));
  group.querySelector(".remove-file").addEventListener("click", () => {
    form.files.splice(form.files.indexOf(file), 1);
    group.remove();
    markChanged();
    $("add-file").focus();
  });
  form.files.push(file);
  $("files").append(group);
  return file;
}

function readForm() {
  return {
    program: $("program").value,
    args: $("args").value,
    files: form.files.map((file) => ({name: file.nameBox.value, bytes: file.field.bytes()})),
    stdin: form.stdin.bytes(),
  };
}

// Fills the form with a state readForm gave; the inputs count as unchanged afterwards.
function fillForm(state) {
  showProgram(state.program);
  $("args").value = state.args;
  form.files.splice(0).forEach((file) => file.group.remove());
  state.files.forEach(({name, bytes}) => addFile(name, bytes));
  form.stdin.load(state.stdin);
  form.changed = false;
}

function exampleBytes(name) {
  const hex = EXAMPLE_FILES[name];
  return Uint8Array.from(hex.match(/../g) || [], (pair) => parseInt(pair, 16));
}

function exampleOf(program) {
  const example = EXAMPLES[program];
  return {
    program,
    args: example.args.join("\n"),
    files: example.files.map((name) => ({name, bytes: exampleBytes(name)})),
    stdin: example.stdin.file ? exampleBytes(example.stdin.file)
                              : encoder.encode(example.stdin.text),
  };
}

function setExampleNote(text, canRestore) {
  $("example-note-text").textContent = text;
  $("restore-inputs").hidden = !canRestore;
}

// Shows what the page says of the program and makes its module ready to run.
function showProgram(program) {
  $("program").value = program;
  for (const about of document.querySelectorAll(".about")) {
    about.hidden = about.id !== `about-${program}`;
  }
  $("program").setAttribute("aria-describedby", `about-${program}`);
  prepare(program).catch(() => {});  // a failure to load is reported by the run
}

// Loads the example of the chosen program; what the student had typed can be brought back.
function loadExample() {
  const program = $("program").value;
  form.replaced = form.changed ? readForm() : null;
  fillForm(exampleOf(program));
  setExampleNote(form.replaced ? `Loaded the example of ${program}.` : "", !!form.replaced);
}

function chooseProgram() {
  const program = $("program").value;
  if (form.changed) {
    showProgram(program);
    setExampleNote(`Your inputs are kept. "Load example" replaces them with the example of ` +
                   `${program}.`, false);
  } else {
    loadExample();
  }
}

function restoreInputs() {
  fillForm(form.replaced);
  form.changed = true;
  form.replaced = null;
  setExampleNote("Your inputs are back.", false);
  $("load-example").focus();
}

// One argument per line; the line end after the last one ends it and adds none.
function argumentsOf(text) {
  return text === "" ? [] : text.replace(/\n$/, "").split("\n");
}

function seconds(milliseconds) {
  return `${(milliseconds / 1000).toFixed(1)} s`;
}

// The run going on: {controller, program, started, outputs}; null between runs.
let current = null;
const outputs = {};

function setState(text, failed = false) {
  $("run-state").textContent = text;
  $("run-state").classList.toggle("failed", failed);
}

function showProgress() {
  const written = outputs.stdout.length + outputs.stderr.length;
  setState(`Running ${current.program}… ` +
           `${Math.floor((performance.now() - current.started) / 1000)} s, ` +
           `${counted(written, "byte")} written`);
  outputs.stdout.showHead();
  outputs.stderr.showHead();
}

// What the state line says of a run that did not exit.
function endOf(program, error, elapsed) {
  const written = outputs.stdout.length + outputs.stderr.length;
  switch (error.reason) {
    case "stopped":
      return `Stopped after ${seconds(elapsed)}: ${program} had written ` +
             `${counted(written, "byte")}, shown below.`;
    case "output-limit":
      return `Stopped at the output limit: ${program} wrote more than ` +
             `${formatCount(OUTPUT_LIMIT)} bytes (1 GiB) in ${seconds(elapsed)}; the first ` +
             `${formatCount(OUTPUT_LIMIT)} are kept.`;
    default:
      return `The run did not finish: ${error.message}.`;
  }
}

async function runForm() {
  if (current) {
    return;  // Run starts no second run while one goes on
  }
  const state = readForm();
  const files = {};
  for (const {name, bytes} of state.files) {
    if (Object.hasOwn(files, name)) {
      setState(`Two files are named "${name}": rename one.`, true);
      return;
    }
    files[name] = bytes;
  }
  current = {controller: new AbortController(), program: state.program,
             started: performance.now()};
  outputs.stdout.clear();
  outputs.stderr.clear();
  $("status").value = "";
  $("results").setAttribute("aria-busy", "true");
  $("stop").hidden = false;
  showProgress();
  const ticker = setInterval(showProgress, PROGRESS_MS);
  // On a narrow screen the results are below the form, out of sight of the Run button.
  if ($("results").getBoundingClientRect().top > window.innerHeight) {
    $("results").scrollIntoView();
  }
  try {
    const status = await run(state.program,
                             {args: argumentsOf(state.args), files, stdin: state.stdin},
                             {signal: current.controller.signal,
                              receive: (stream, bytes) => outputs[stream].append(bytes)});
    $("status").value = String(status);
    setState(`${state.program} exited with status ${status} after ` +
             `${seconds(performance.now() - current.started)}.`);
  } catch (error) {
    $("status").value = "none";
    setState(endOf(state.program, error, performance.now() - current.started), true);
  } finally {
    clearInterval(ticker);
    outputs.stdout.finish(state.program);
    outputs.stderr.finish(state.program);
    if (document.activeElement === $("stop")) {
      $("run").focus();
    }
    $("stop").hidden = true;
    $("results").setAttribute("aria-busy", "false");
    current = null;
  }
}

async function upload(input, receive) {
  for (const chosen of input.files) {
    receive(chosen.name, new Uint8Array(await chosen.arrayBuffer()));
  }
  input.value = "";  // the same file may be chosen again after an edit
}

function setUp() {
  outputs.stdout = new OutputView("stdout");
  outputs.stderr = new OutputView("stderr");
  form.stdin = new ByteField({textarea: $("stdin"), note: $("stdin-note"),
                              large: $("stdin-large"), onChange: markChanged});
  $("program").addEventListener("change", chooseProgram);
  $("load-example").addEventListener("click", loadExample);
  $("restore-inputs").addEventListener("click", restoreInputs);
  $("args").addEventListener("input", markChanged);
  $("add-file").addEventListener("click", () => {
    addFile("", null).nameBox.focus();
    markChanged();
  });
  $("upload-files").addEventListener("change", (event) => upload(event.target, (name, bytes) => {
    const same = form.files.find((file) => file.nameBox.value === name);
    (same || addFile(name, null)).field.load(bytes, name);
  }));
  $("upload-stdin").addEventListener("change", (event) => upload(event.target,
      (name, bytes) => form.stdin.load(bytes, name)));
  $("remove-stdin").addEventListener("click", () => {
    form.stdin.clear();
    $("stdin").focus();
  });
  $("run-form").addEventListener("submit", (event) => {
    event.preventDefault();
    runForm();
  });
  $("stop").addEventListener("click", () => current && current.controller.abort());
  $("wrap-lines").addEventListener("change", (event) => {
    $("results").classList.toggle("no-wrap", !event.target.checked);
  });
  fillForm(exampleOf($("program").value));
  document.documentElement.classList.remove("starting");
}

setUp();
