// The list of the end-to-end cases of the chosen program, from the repository's tests: each with
// what it checks and whether every correct program must pass it. Opening one fills the form
// with its arguments, files, standard input and expected outputs and status, ready to run and
// compare. A case that needs what a browser lacks is listed with the reason, and cannot be
// opened. Each program's cases are packed at build time (pack-cases.py) into cases/PROGRAM.json,
// which is fetched only once the list is opened, so that the page's first view does not wait
// for it.

import {bytesOf} from "./bytes.js";

// The list's groups, in the order shown: each case's kind, or "unrunnable".
const GROUPS = [
  ["required", "Required: every correct program passes these"],
  ["extra", "Extra: these ask more than every correct program must do"],
  ["unrunnable", "Not run here: each says why"],
];

const bytesOfBase64 = (text) => bytesOf(atob(text));

// The form's inputs for a runnable case as packed: {args, files (name to base64), stdin, stdout,
// stderr (base64), status (a number)}.
function inputsOf(program, packed) {
  return {
    program,
    // One argument a line, each line ended, so that an empty last argument is kept.
    args: packed.args.map((arg) => `${arg}\n`).join(""),
    files: Object.entries(packed.files).map(([name, bytes]) => ({
      name,
      bytes: bytesOfBase64(bytes),
    })),
    stdin: bytesOfBase64(packed.stdin),
    expected: {
      stdout: bytesOfBase64(packed.stdout),
      stderr: bytesOfBase64(packed.stderr),
      status: String(packed.status),
    },
  };
}

export class CaseList {
  // form: the form that an opened case fills.
  constructor(form) {
    this.form = form;
    const $ = (id) => document.getElementById(id);
    this.list = $("cases");
    this.choice = $("case");
    this.openButton = $("open-case");
    this.note = $("case-note");
    this.program = $("program");
    this.listed = null; // the program whose cases the choice holds
    this.cases = []; // its cases, as packed, by the value of their option
    this.list.addEventListener("toggle", () => this.show());
    this.program.addEventListener("change", () => this.show());
    // A link or a kept form may have changed the program since the list was filled.
    this.choice.addEventListener("focus", () => this.show());
    this.choice.addEventListener("change", () => this.describe());
    this.openButton.addEventListener("click", () => this.open());
  }

  // Lists the cases of the chosen program, if the list is open and lists another's.
  async show() {
    const program = this.program.value;
    if (!this.list.open || this.listed === program) {
      return;
    }
    this.listed = program;
    this.choice.replaceChildren(new Option("Loading the cases…", ""));
    this.describe();
    let cases;
    try {
      const response = await fetch(new URL(`cases/${program}.json`, import.meta.url));
      if (!response.ok) {
        throw new Error(`HTTP status ${response.status}`);
      }
      ({cases} = await response.json());
    } catch (error) {
      this.listed = null; // the next opening tries again
      this.choice.replaceChildren();
      this.say(`The cases of ${program} could not be loaded: ${error.message}.`);
      return;
    }
    if (this.program.value !== program) {
      return; // another program was chosen meanwhile, whose cases are on their way
    }
    this.cases = cases;
    this.choice.replaceChildren(
      ...GROUPS.map(([group, label]) => {
        const holder = document.createElement("optgroup");
        holder.label = label;
        cases.forEach((packed, index) => {
          const unrunnable = "unrunnable" in packed;
          if ((unrunnable ? "unrunnable" : packed.kind) === group) {
            const option = new Option(`${packed.name}: ${packed.description}`, String(index));
            option.disabled = unrunnable;
            if (unrunnable) {
              option.text += ` (${packed.kind}; not run here: it ${packed.unrunnable})`;
            }
            holder.append(option);
          }
        });
        return holder;
      }),
    );
    this.describe();
  }

  say(text) {
    this.note.textContent = text;
  }

  // Says what the chosen case checks, and why it is extra where it is.
  describe() {
    const packed = this.cases[this.choice.value];
    this.openButton.disabled = !packed;
    if (packed) {
      this.say(
        `${packed.name}: ${packed.description}.` +
          (packed.extra ? ` Extra: ${packed.extra}.` : " Every correct program passes it."),
      );
    } else {
      this.say("");
    }
  }

  open() {
    const packed = this.cases[this.choice.value];
    this.form.open(inputsOf(this.listed, packed.runnable));
    this.say(
      `Opened the case ${packed.name}: press Run, and the comparison with its expected ` +
        "output says whether the program passes it.",
    );
  }
}
