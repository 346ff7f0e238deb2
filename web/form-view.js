// The form: the program chosen, with what the page says of it, and the inputs of a run (its
// arguments, input files, standard input and the output expected of it), which read() gives as
// bytes and fill() puts back, summed up beside Run. Each program has inputs of its own, which
// the state holds and the browser keeps across a reload (kept-form.js) from the moment they
// change: choosing a program shows its own, or its example where it has none, and loading an
// example over them keeps them to be brought back. Where the expected output may have changed,
// the last run is compared with it anew (results-view.js).

import {ByteField} from "./byte-field.js";
import {bytesOfHex, encoder} from "./bytes.js";
import {readChosenFiles} from "./chosen-files.js";
import {EXAMPLE_FILES} from "./example-files.js";
import {keepChoice, keepInputs} from "./kept-form.js";
import {PROGRAMS, programNamed} from "./programs.js";
import {quoted} from "./quoted.js";
import {summaryOf} from "./run-inputs.js";
import {prepare} from "./run-program.js";

// The inputs of the program's example.
function exampleOf(program) {
  const {example} = programNamed(program);
  const none = new Uint8Array();
  return {
    program,
    args: example.args.join("\n"),
    files: example.files.map((name) => ({name, bytes: bytesOfHex(EXAMPLE_FILES[name])})),
    stdin: example.stdin.file
      ? bytesOfHex(EXAMPLE_FILES[example.stdin.file])
      : encoder.encode(example.stdin.text),
    expected: {stdout: none, stderr: none, status: ""},
  };
}

export class FormView {
  // results: the results view, whose comparisons follow the expected output.
  constructor(state, results) {
    this.state = state;
    this.results = results;
    const $ = (id) => document.getElementById(id);
    this.program = $("program");
    this.summary = $("program-summary");
    this.usage = $("program-usage");
    this.loadButton = $("load-example");
    this.exampleNote = $("example-note-text");
    this.bringBackButton = $("restore-inputs");
    this.args = $("args");
    this.filesHolder = $("files");
    this.addFileButton = $("add-file");
    this.fileTemplate = $("file-template");
    this.largeTemplate = $("large-input-template");
    this.expectedStatus = $("expected-status");
    this.inputsSummary = $("inputs-summary");
    this.files = []; // {group, nameBox, field}, in the order shown
    this.filesMade = 0; // numbers the files' notes, whose ids must stay unique
    // The ByteFields of standard input and the expected outputs, by the id of their box.
    this.fields = {};
    for (const [id, removeLabel] of [
      ["stdin", "Remove this standard input"],
      ["expected-stdout", "Remove this expected output"],
      ["expected-stderr", "Remove this expected output"],
    ]) {
      this.fields[id] = new ByteField({
        textarea: $(id),
        note: $(`${id}-note`),
        largeTemplate: this.largeTemplate,
        removeLabel,
        onEdit: () => this.edited(id),
      });
    }
    for (const input of document.querySelectorAll(".upload-into")) {
      const id = input.dataset.field;
      input.addEventListener("change", async () => {
        await readChosenFiles(input, (name, bytes) => this.fields[id].load(bytes, name));
        this.edited(id);
      });
    }
    for (const {name} of PROGRAMS) {
      this.program.append(new Option(name, name));
    }
    this.program.addEventListener("change", () => this.show(this.program.value, true));
    this.loadButton.addEventListener("click", () => this.loadExample());
    this.bringBackButton.addEventListener("click", () => this.bringBack());
    this.args.addEventListener("input", () => this.edited("args"));
    this.expectedStatus.addEventListener("input", () => this.edited("expected-status"));
    this.addFileButton.addEventListener("click", () => {
      this.addFile("", null).nameBox.focus();
      this.edited("files");
    });
    const uploadFiles = $("upload-files");
    uploadFiles.addEventListener("change", async () => {
      await readChosenFiles(uploadFiles, (name, bytes) => {
        const same = this.files.find((file) => file.nameBox.value === name);
        (same || this.addFile(name, null)).field.load(bytes, name);
      });
      this.edited("files");
    });
  }

  // The student changed the input of that id: the program's inputs are kept, and the last run
  // compared anew with an expected output or status changed.
  edited(id) {
    const inputs = this.read();
    this.state.inputsEdited(inputs);
    keepInputs(inputs.program, inputs);
    this.inputsSummary.textContent = summaryOf(inputs);
    if (id.startsWith("expected-")) {
      this.results.compareSoon(inputs.program, () => this.read().expected);
    }
  }

  addFile(name, bytes) {
    const group = this.fileTemplate.content.firstElementChild.cloneNode(true);
    const nameBox = group.querySelector(".file-name");
    const contents = group.querySelector(".file-contents");
    const note = group.querySelector(".file-note");
    const legend = group.querySelector("legend");
    note.id = `file-note-${++this.filesMade}`;
    contents.setAttribute("aria-describedby", note.id);
    const file = {group, nameBox};
    file.field = new ByteField({
      textarea: contents,
      note,
      hide: group.querySelector(".file-box"),
      largeTemplate: this.largeTemplate,
      onEdit: () => this.edited("files"),
    });
    const showName = () => {
      legend.textContent = nameBox.value ? `File ${quoted(nameBox.value)}` : "File";
    };
    nameBox.value = name;
    showName();
    nameBox.addEventListener("input", () => {
      showName();
      this.edited("files");
    });
    if (bytes) {
      file.field.load(bytes, name);
    }
    const replace = group.querySelector(".replace-file");
    replace.addEventListener("change", async () => {
      await readChosenFiles(replace, (_, chosen) => file.field.load(chosen, nameBox.value));
      this.edited("files");
    });
    group.querySelector(".remove-file").addEventListener("click", () => {
      this.files.splice(this.files.indexOf(file), 1);
      group.remove();
      this.edited("files");
      this.addFileButton.focus();
    });
    this.files.push(file);
    this.filesHolder.append(group);
    return file;
  }

  // The inputs as they stand: {program, args (the text, an argument a line), files: [{name,
  // bytes}], stdin, expected: {stdout, stderr, status (the text given)}}.
  read() {
    return {
      program: this.program.value,
      args: this.args.value,
      files: this.files.map((file) => ({name: file.nameBox.value, bytes: file.field.bytes()})),
      stdin: this.fields.stdin.bytes(),
      expected: {
        stdout: this.fields["expected-stdout"].bytes(),
        stderr: this.fields["expected-stderr"].bytes(),
        status: this.expectedStatus.value,
      },
    };
  }

  // Puts inputs, as read() gives them, into the form, and compares the last run anew.
  fill(inputs) {
    this.showProgram(inputs.program);
    this.args.value = inputs.args;
    for (const file of this.files.splice(0)) {
      file.group.remove();
    }
    for (const {name, bytes} of inputs.files) {
      this.addFile(name, bytes);
    }
    this.fields.stdin.load(inputs.stdin);
    this.fields["expected-stdout"].load(inputs.expected.stdout);
    this.fields["expected-stderr"].load(inputs.expected.stderr);
    this.expectedStatus.value = inputs.expected.status;
    this.inputsSummary.textContent = summaryOf(inputs);
    this.results.compareSoon(inputs.program, () => this.read().expected);
  }

  // Fills the form with inputs from a link or a saved run, which become the program's own.
  open(inputs) {
    this.state.inputsOpened(inputs);
    keepInputs(inputs.program, inputs);
    keepChoice(inputs.program);
    this.fill(inputs);
    this.sayOfExample("", false);
  }

  // Shows what the page says of the program and makes its module ready to run.
  showProgram(program) {
    const {summary, usage} = programNamed(program);
    this.program.value = program;
    this.summary.textContent = summary;
    this.usage.textContent = usage;
    prepare(program).catch(() => {}); // a failure to load is reported by the run
  }

  sayOfExample(text, canBringBack) {
    this.exampleNote.textContent = text;
    this.bringBackButton.hidden = !canBringBack;
  }

  // Shows the program with its own inputs, or with its example where it has none, and says
  // which: its own as the student left them, when the student has just chosen it (chosenNow),
  // or as far as the browser kept them; its example with the inputs it replaced, if any, to be
  // brought back.
  show(program, chosenNow) {
    keepChoice(program);
    const own = this.state.inputs.get(program);
    this.fill(own || exampleOf(program));
    if (own?.dropped?.length > 0) {
      this.sayOfExample(
        "Too large to keep across a reload, and left out: " +
          `${own.dropped.map(quoted).join(", ")}. Upload again what you need.`,
        false,
      );
    } else if (own) {
      this.sayOfExample(chosenNow ? `Your inputs for ${program}, as you left them.` : "", false);
    } else {
      const replaced = this.state.replaced.has(program);
      this.sayOfExample(replaced ? `Loaded the example of ${program}.` : "", replaced);
    }
  }

  // Loads the example of the chosen program; its own inputs can be brought back.
  loadExample() {
    const program = this.program.value;
    this.state.exampleLoaded(program);
    keepInputs(program, null);
    this.show(program, false);
  }

  bringBack() {
    const program = this.program.value;
    const inputs = this.state.inputsBroughtBack(program);
    keepInputs(program, inputs);
    this.fill(inputs);
    this.sayOfExample("Your inputs are back.", false);
    this.loadButton.focus();
  }
}
