// The page's controls: they gather a run's arguments, input files and standard input, run the
// program in a worker, show what it writes while it runs, compare it with the expected output
// and draw the structure it built; a run can be shared as a link or a file, and the form is
// kept across a reload.

import {ByteField, counted, decoder, encoder, formatCount} from "./byte-field.js";
import {showComparison} from "./comparison-view.js";
import {EXAMPLE_FILES} from "./examples.js";
import {fromBase64Url, pack, toBase64Url, unpack} from "./form-state.js";
import {OutputView} from "./output-view.js";
import {clearPicture, showPicture} from "./pictures/pictures.js";
import {EXAMPLES} from "./programs.js";
import {OUTPUT_LIMIT, prepare, run} from "./run-program.js";

const $ = (id) => document.getElementById(id);

// How often the state line tells the time and bytes of a run in progress.
const PROGRESS_MS = 500;
// A link longer than this is too long for some browsers and mail programs to keep whole.
const LONGEST_LINK = 65536;
const LINK_PREFIX = "#run=";
const LINK_SOURCE = {subject: "This link to a run", name: "the link to a run"};
const STORAGE_KEY = "five-console-programs:form";
// Inputs this large are not kept across a reload: local storage holds a few megabytes.
const LARGEST_STORED = 1 << 20;
// An output this large is copied only as far as the page shows it.
const LARGEST_COPIED = 16 << 20;
const STREAM_NAMES = {stdout: "Standard output", stderr: "Standard error"};

const form = {
  files: [], // {group, nameBox, field}, in the order shown
  filesMade: 0, // numbers the notes, whose ids must stay unique
  fields: {}, // the ByteFields of stdin, expected-stdout and expected-stderr, by id
  // Whether the inputs differ from the example last loaded, so that choosing another program
  // keeps them.
  changed: false,
  // The inputs that loading an example replaced, while they can still be brought back.
  replaced: null,
};

let storeTimer = 0;

// Something in the form changed: it is kept for a reload, and comparisons are made anew.
function formChanged() {
  form.changed = true;
  $("comparisons").replaceChildren();
  clearTimeout(storeTimer);
  storeTimer = setTimeout(() => {
    store();
    compareLastRun();
  }, 400);
}

function addFile(name, bytes) {
  const group = $("file-template").content.firstElementChild.cloneNode(true);
  const nameBox = group.querySelector(".file-name");
  const contents = group.querySelector(".file-contents");
  const note = group.querySelector(".file-note");
  note.id = `file-note-${++form.filesMade}`;
  contents.setAttribute("aria-describedby", note.id);
  const file = {group, nameBox};
  file.field = new ByteField({
    textarea: contents,
    note,
    large: group.querySelector(".large"),
    hide: group.querySelector(".file-box"),
    onChange: formChanged,
  });
  const legend = group.querySelector("legend");
  const nameLegend = () => {
    legend.textContent = nameBox.value ? `File ${nameBox.value}` : "File";
  };
  nameBox.addEventListener("input", () => {
    nameLegend();
    formChanged();
  });
  nameBox.value = name;
  nameLegend();
  if (bytes) {
    file.field.load(bytes, name);
  }
  group
    .querySelector(".replace-file")
    .addEventListener("change", (event) =>
      upload(event.target, (_chosenName, chosen) => file.field.load(chosen, nameBox.value)),
    );
  group.querySelector(".remove-file").addEventListener("click", () => {
    form.files.splice(form.files.indexOf(file), 1);
    group.remove();
    formChanged();
    $("add-file").focus();
  });
  form.files.push(file);
  $("files").append(group);
  return file;
}

// The form as it stands, every input as its bytes.
function readForm() {
  return {
    program: $("program").value,
    args: $("args").value,
    files: form.files.map((file) => ({name: file.nameBox.value, bytes: file.field.bytes()})),
    stdin: form.fields.stdin.bytes(),
    expected: {
      stdout: form.fields["expected-stdout"].bytes(),
      stderr: form.fields["expected-stderr"].bytes(),
      status: $("expected-status").value,
    },
  };
}

// Fills the form with a state that readForm gave, or that came from an example, a link, a
// saved run or local storage.
function fillForm(state, {changed}) {
  showProgram(state.program);
  $("args").value = state.args;
  for (const file of form.files.splice(0)) {
    file.group.remove();
  }
  for (const {name, bytes} of state.files) {
    addFile(name, bytes);
  }
  form.fields.stdin.load(state.stdin);
  form.fields["expected-stdout"].load(state.expected.stdout);
  form.fields["expected-stderr"].load(state.expected.stderr);
  $("expected-status").value = state.expected.status;
  formChanged();
  form.changed = changed;
}

function exampleBytes(name) {
  const hex = EXAMPLE_FILES[name];
  return Uint8Array.from(hex.match(/../g) || [], (pair) => parseInt(pair, 16));
}

function exampleOf(program) {
  const example = EXAMPLES[program];
  const none = new Uint8Array();
  return {
    program,
    args: example.args.join("\n"),
    files: example.files.map((name) => ({name, bytes: exampleBytes(name)})),
    stdin: example.stdin.file
      ? exampleBytes(example.stdin.file)
      : encoder.encode(example.stdin.text),
    expected: {stdout: none, stderr: none, status: ""},
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
  prepare(program).catch(() => {}); // a failure to load is reported by the run
}

// Loads the example of the chosen program; what the student had typed can be brought back.
function loadExample() {
  const program = $("program").value;
  form.replaced = form.changed ? readForm() : null;
  fillForm(exampleOf(program), {changed: false});
  setExampleNote(form.replaced ? `Loaded the example of ${program}.` : "", !!form.replaced);
}

function chooseProgram() {
  const program = $("program").value;
  if (form.changed) {
    showProgram(program);
    formChanged();
    setExampleNote(
      `Your inputs are kept. "Load example" replaces them with the example of ${program}.`,
      false,
    );
  } else {
    loadExample();
  }
}

function restoreInputs() {
  fillForm(form.replaced, {changed: true});
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

// The run going on: {controller, program, started}; null between runs.
let current = null;
// The last run that ended: {program, status, args, files}, its outputs in `outputs`.
let lastRun = null;
const outputs = {};

function setState(text, failed = false) {
  $("run-state").textContent = text;
  $("run-state").classList.toggle("failed", failed);
}

function showProgress() {
  const written = outputs.stdout.length + outputs.stderr.length;
  setState(
    `Running ${current.program}… ` +
      `${Math.floor((performance.now() - current.started) / 1000)} s, ` +
      `${counted(written, "byte")} written`,
  );
  outputs.stdout.showHead();
  outputs.stderr.showHead();
}

// What the state line says of a run that did not exit.
function endOf(program, error, elapsed) {
  const written = outputs.stdout.length + outputs.stderr.length;
  switch (error.reason) {
    case "stopped":
      return (
        `Stopped after ${seconds(elapsed)}: ${program} had written ` +
        `${counted(written, "byte")}, shown below.`
      );
    case "output-limit":
      return (
        `Stopped at the output limit: ${program} wrote more than ` +
        `${formatCount(OUTPUT_LIMIT)} bytes (1 GiB) in ${seconds(elapsed)}; the first ` +
        `${formatCount(OUTPUT_LIMIT)} are kept.`
      );
    default:
      return `The run did not finish: ${error.message}.`;
  }
}

// Compares the last run's outputs and exit status with those expected, where given; resolves
// when the comparisons are shown.
async function compareLastRun() {
  const holder = $("comparisons");
  holder.replaceChildren();
  if (!lastRun) {
    return;
  }
  const expected = readForm().expected;
  const comparisons = [];
  for (const stream of ["stdout", "stderr"]) {
    if (expected[stream].length > 0 && outputs[stream].blob) {
      const part = document.createElement("div");
      holder.append(part);
      comparisons.push(
        showComparison(part, STREAM_NAMES[stream], expected[stream], outputs[stream].blob),
      );
    }
  }
  if (expected.status.trim() !== "") {
    const line = document.createElement("p");
    const actual = lastRun.status === null ? "none" : String(lastRun.status);
    const same = expected.status.trim() === actual;
    line.className = `comparison-verdict ${same ? "same" : "differs"}`;
    line.textContent = same
      ? `Exit status: Same (${actual})`
      : `Exit status: expected ${expected.status.trim()}, actual ${actual}`;
    holder.append(line);
  }
  await Promise.all(comparisons);
}

async function runForm() {
  if (current) {
    return; // Run starts no second run while one goes on
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
  current = {controller: new AbortController(), program: state.program, started: performance.now()};
  lastRun?.outputs.discard();
  lastRun = null;
  outputs.stdout.clear();
  outputs.stderr.clear();
  compareLastRun();
  clearPicture($("picture"));
  document.querySelectorAll(".copy-output").forEach((button) => {
    button.hidden = true;
  });
  $("copy-note").textContent = "";
  $("status").value = "";
  $("results").setAttribute("aria-busy", "true");
  $("stop").hidden = false;
  showProgress();
  const ticker = setInterval(showProgress, PROGRESS_MS);
  // On a narrow screen the results are below the form, out of sight of the Run button.
  if ($("results").getBoundingClientRect().top > window.innerHeight) {
    $("results").scrollIntoView();
  }
  const args = argumentsOf(state.args);
  let status = null;
  let kept = null; // the run's outputs, as run-program.js keeps them
  try {
    const result = await run(
      state.program,
      {args, files, stdin: state.stdin},
      {
        signal: current.controller.signal,
        receive: (stream, bytes) => outputs[stream].append(bytes),
      },
    );
    ({status, outputs: kept} = result);
    $("status").value = String(status);
    setState(
      `${state.program} exited with status ${status} after ` +
        `${seconds(performance.now() - current.started)}.`,
    );
  } catch (error) {
    kept = error.outputs || null;
    $("status").value = "none";
    setState(endOf(state.program, error, performance.now() - current.started), true);
  }
  clearInterval(ticker);
  outputs.stdout.showKeeping();
  outputs.stderr.showKeeping();
  const blobs = kept ? await kept.blobs().catch(() => ({})) : {};
  await outputs.stdout.finish(state.program, blobs.stdout);
  await outputs.stderr.finish(state.program, blobs.stderr);
  document.querySelectorAll(".copy-output").forEach((button) => {
    button.hidden = false;
  });
  if (document.activeElement === $("stop")) {
    $("run").focus();
  }
  $("stop").hidden = true;
  lastRun = {program: state.program, status, args, files, outputs: kept || {discard: () => {}}};
  showPicture($("picture"), {...lastRun, stdout: outputs.stdout.blob});
  // The results are whole, the run over, once the comparisons are made.
  await compareLastRun();
  $("results").setAttribute("aria-busy", "false");
  current = null;
}

async function upload(input, receive) {
  for (const chosen of input.files) {
    receive(chosen.name, new Uint8Array(await chosen.arrayBuffer()));
  }
  input.value = ""; // the same file may be chosen again after an edit
}

// Copies an output as text; one too large to copy is copied as far as it is shown.
async function copyOutput(stream) {
  const view = outputs[stream];
  const whole = view.length <= LARGEST_COPIED && view.blob !== null;
  const text = whole && view.blob ? await view.blob.text() : decoder.decode(view.shownBytes());
  const name = STREAM_NAMES[stream].toLowerCase();
  try {
    await navigator.clipboard.writeText(text);
    $("copy-note").textContent = whole
      ? `Copied the ${name}.`
      : `Copied the first ${formatCount(view.shownBytes().length)} bytes of the ${name}, as ` +
        "shown; download it for the whole.";
  } catch {
    // Where the browser does not let the page copy, the text is selected for the student to.
    getSelection().selectAllChildren($(stream));
    $("copy-note").textContent =
      `The browser did not let the page copy: the ${name} shown is ` +
      "selected, to copy with the keyboard.";
  }
}

function toggleEnlarged(on) {
  $("results").classList.toggle("enlarged", on);
  $("enlarge").setAttribute("aria-pressed", String(on));
  $("enlarge").textContent = on ? "Back to the page" : "Enlarge for a projector";
}

function setShareNote(text) {
  $("share-note").textContent = text;
}

// The form as it is kept: inputs too large for local storage are left out, and named.
async function store() {
  const state = readForm();
  const dropped = [];
  const kept = (name, bytes) => {
    if (bytes.length <= LARGEST_STORED) {
      return bytes;
    }
    dropped.push(name);
    return new Uint8Array();
  };
  state.files = state.files.map(({name, bytes}) => ({name, bytes: kept(name, bytes)}));
  state.stdin = kept("standard input", state.stdin);
  state.expected.stdout = kept("expected standard output", state.expected.stdout);
  state.expected.stderr = kept("expected standard error", state.expected.stderr);
  try {
    localStorage.setItem(STORAGE_KEY, toBase64Url(await pack({...state, dropped})));
  } catch {
    // No room, or no storage: the form is simply not kept.
    try {
      localStorage.removeItem(STORAGE_KEY);
    } catch {
      // Storage that cannot even be cleared holds nothing of ours.
    }
  }
}

async function copyLink() {
  const link = `${location.origin}${location.pathname}${LINK_PREFIX}${toBase64Url(await pack(readForm()))}`;
  if (link.length > LONGEST_LINK) {
    $("link-box").hidden = true;
    setShareNote(
      `This run is too large for a link (${formatCount(link.length)} characters; ` +
        `a link holds about ${formatCount(LONGEST_LINK)}). Save it as a file with ` +
        `"Save run", and open the file with "Open run".`,
    );
    return;
  }
  $("link-box").hidden = false;
  $("run-link").value = link;
  $("run-link").focus();
  $("run-link").select();
  try {
    await navigator.clipboard.writeText(link);
    setShareNote(`Link copied (${formatCount(link.length)} characters).`);
  } catch {
    setShareNote("The link is selected above, to copy with the keyboard.");
  }
}

async function saveRun() {
  const state = readForm();
  const link = document.createElement("a");
  link.href = URL.createObjectURL(
    new Blob([await pack(state)], {type: "application/octet-stream"}),
  );
  link.download = `${state.program}.run`;
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  setShareNote(`Saved as ${link.download}.`);
}

// Fills the form from a packed run; `source` names it in what the page says, as the subject of
// a sentence (`subject`) and within one (`name`).
async function openPacked(packed, {subject, name}) {
  let state;
  try {
    state = await unpack(packed);
  } catch (error) {
    setShareNote(`${subject} is damaged or incomplete (${error.message}): nothing was loaded.`);
    return false;
  }
  fillForm(state, {changed: true});
  form.replaced = null;
  setExampleNote("", false);
  setShareNote(
    `Opened ${name}; it runs when you press Run.` +
      (state.dropped.length > 0
        ? ` Not kept with it (too large): ${state.dropped.join(", ")}.`
        : ""),
  );
  return true;
}

// Opens the run of the page's link, if it has one, and takes it from the address: a reload
// then shows the form as the student left it.
async function openLink() {
  if (!location.hash.startsWith(LINK_PREFIX)) {
    return false;
  }
  const text = location.hash.slice(LINK_PREFIX.length);
  history.replaceState(null, "", location.pathname + location.search);
  let packed;
  try {
    packed = fromBase64Url(text);
  } catch {
    setShareNote(`${LINK_SOURCE.subject} is damaged or incomplete: nothing was loaded.`);
    return false;
  }
  return openPacked(packed, LINK_SOURCE);
}

async function restoreStored() {
  let stored = null;
  try {
    stored = localStorage.getItem(STORAGE_KEY);
  } catch {
    return false;
  }
  if (!stored) {
    return false;
  }
  try {
    const state = await unpack(fromBase64Url(stored));
    fillForm(state, {changed: true});
    if (state.dropped.length > 0) {
      setShareNote(
        `Too large to keep across a reload, and left out: ` +
          `${state.dropped.join(", ")}. Upload again what you need.`,
      );
    }
    return true;
  } catch {
    return false;
  }
}

async function setUp() {
  outputs.stdout = new OutputView("stdout");
  outputs.stderr = new OutputView("stderr");
  for (const id of ["stdin", "expected-stdout", "expected-stderr"]) {
    form.fields[id] = new ByteField({
      textarea: $(id),
      note: $(`${id}-note`),
      large: $(`${id}-large`),
      onChange: formChanged,
    });
  }
  for (const input of document.querySelectorAll(".upload-into")) {
    input.addEventListener("change", () =>
      upload(input, (name, bytes) => form.fields[input.dataset.field].load(bytes, name)),
    );
  }
  for (const button of document.querySelectorAll(".remove-large")) {
    button.addEventListener("click", () => {
      form.fields[button.dataset.field].clear();
      $(button.dataset.field).focus();
    });
  }
  $("program").addEventListener("change", chooseProgram);
  $("load-example").addEventListener("click", loadExample);
  $("restore-inputs").addEventListener("click", restoreInputs);
  $("args").addEventListener("input", formChanged);
  $("expected-status").addEventListener("input", formChanged);
  $("add-file").addEventListener("click", () => {
    addFile("", null).nameBox.focus();
    formChanged();
  });
  $("upload-files").addEventListener("change", (event) =>
    upload(event.target, (name, bytes) => {
      const same = form.files.find((file) => file.nameBox.value === name);
      (same || addFile(name, null)).field.load(bytes, name);
    }),
  );
  $("run-form").addEventListener("submit", (event) => {
    event.preventDefault();
    runForm();
  });
  $("stop").addEventListener("click", () => current?.controller.abort());
  $("wrap-lines").addEventListener("change", (event) => {
    $("results").classList.toggle("no-wrap", !event.target.checked);
  });
  for (const button of document.querySelectorAll(".copy-output")) {
    button.addEventListener("click", () => copyOutput(button.dataset.stream));
  }
  $("enlarge").addEventListener("click", () =>
    toggleEnlarged(!$("results").classList.contains("enlarged")),
  );
  document.addEventListener("keydown", (event) => {
    if (event.key === "Escape" && $("results").classList.contains("enlarged")) {
      toggleEnlarged(false);
      $("enlarge").focus();
    }
  });
  $("copy-link").addEventListener("click", copyLink);
  $("save-run").addEventListener("click", saveRun);
  $("open-run").addEventListener("change", (event) =>
    upload(event.target, (name, bytes) => openPacked(bytes, {subject: name, name})),
  );
  window.addEventListener("hashchange", openLink);
  if (!(await openLink()) && !(await restoreStored())) {
    fillForm(exampleOf($("program").value), {changed: false});
  }
  document.documentElement.classList.remove("starting");
}

setUp();
