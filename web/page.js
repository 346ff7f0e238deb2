// The page's entry: makes the page's state and the views of its parts, wires them together,
// gives scripts window.runProgram, and fills the form: from the page's link, else from the form
// kept across a reload, else with the chosen program's example.

import {FormView} from "./form-view.js";
import {PageState} from "./page-state.js";
import {ResultsView} from "./results-view.js";
import {runProgram} from "./run-program-api.js";
import {RunView} from "./run-view.js";
import {ShareView} from "./share-view.js";

async function start() {
  const state = new PageState();
  const results = new ResultsView(state);
  const form = new FormView(state, results);
  const share = new ShareView(form);
  new RunView(state, form, results);
  window.runProgram = runProgram;
  window.addEventListener("hashchange", () => share.openLink());
  if (!(await share.openLink()) && !(await share.openKept())) {
    form.loadExample();
  }
  document.documentElement.classList.remove("starting");
}

start();
