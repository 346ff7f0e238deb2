// The page's entry: makes the page's state and the views of its parts, wires them together,
// gives scripts window.runProgram, takes each program's inputs kept across a reload into the
// state, and fills the form: from the page's link, else with the program chosen last (the first
// one if none), with its own inputs or its example; then sets up offline use.

import {CaseList} from "./case-list.js";
import {FormView} from "./form-view.js";
import {keptInputs} from "./kept-form.js";
import {OfflineView} from "./offline-view.js";
import {PageState} from "./page-state.js";
import {PROGRAMS, programNamed} from "./programs.js";
import {ResultsView} from "./results-view.js";
import {runProgram} from "./run-program-api.js";
import {RunView} from "./run-view.js";
import {ShareView} from "./share-view.js";

async function start() {
  const state = new PageState();
  const results = new ResultsView(state);
  const form = new FormView(state, results);
  const share = new ShareView(form);
  new CaseList(form);
  new RunView(state, form, results);
  window.runProgram = runProgram;
  window.addEventListener("hashchange", () => share.openLink());
  const kept = await keptInputs();
  for (const inputs of kept.inputs.values()) {
    state.inputsOpened(inputs);
  }
  if (!(await share.openLink())) {
    form.show(programNamed(kept.chosen) ? kept.chosen : PROGRAMS[0].name, false);
  }
  document.documentElement.classList.remove("starting");
  new OfflineView().start();
}

start();
