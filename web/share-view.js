// Sharing a run: Copy link puts the form's inputs, packed (packed-run.js), into a link's
// fragment, which is never sent anywhere; a run too large for a link is saved as a file with Save
// run instead, and opened with Open run. Opening a link or a file fills the form without running
// it.

import {readChosenFiles} from "./chosen-files.js";
import {formatCount} from "./numbers.js";
import {fromBase64Url, pack, toBase64Url, unpack} from "./packed-run.js";
import {quoted} from "./quoted.js";

// A link longer than this is too long for some browsers and mail programs to keep whole.
const LONGEST_LINK = 65536;
const LINK_PREFIX = "#run=";
// What the page calls a link to a run, as the subject of a sentence and within one.
const A_LINK = {subject: "This link to a run", name: "the link to a run"};

export class ShareView {
  // form: the form whose inputs are shared, and which what is opened fills.
  constructor(form) {
    this.form = form;
    const $ = (id) => document.getElementById(id);
    this.linkBox = $("link-box");
    this.link = $("run-link");
    this.note = $("share-note");
    $("copy-link").addEventListener("click", () => this.copyLink());
    $("save-run").addEventListener("click", () => this.saveRun());
    const openRun = $("open-run");
    openRun.addEventListener("change", () =>
      readChosenFiles(openRun, (name, bytes) =>
        this.openPacked(bytes, {subject: quoted(name), name: quoted(name)}),
      ),
    );
  }

  say(text) {
    this.note.textContent = text;
  }

  async copyLink() {
    const link =
      `${location.origin}${location.pathname}${LINK_PREFIX}` +
      toBase64Url(await pack(this.form.read()));
    if (link.length > LONGEST_LINK) {
      this.linkBox.hidden = true;
      this.say(
        `This run is too large for a link (${formatCount(link.length)} characters; ` +
          `a link holds about ${formatCount(LONGEST_LINK)}). Save it as a file with ` +
          `"Save run", and open the file with "Open run".`,
      );
      return;
    }
    this.linkBox.hidden = false;
    this.link.value = link;
    this.link.focus();
    this.link.select();
    try {
      await navigator.clipboard.writeText(link);
      this.say(`Link copied (${formatCount(link.length)} characters).`);
    } catch {
      this.say("The link is selected above, to copy with the keyboard.");
    }
  }

  async saveRun() {
    const inputs = this.form.read();
    const link = document.createElement("a");
    link.href = URL.createObjectURL(
      new Blob([await pack(inputs)], {type: "application/octet-stream"}),
    );
    link.download = `${inputs.program}.run`;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
    this.say(`Saved as ${link.download}.`);
  }

  // Fills the form from a packed run; resolves to whether it could. `subject` and `name` name
  // where it came from in what the page says, as the subject of a sentence and within one.
  async openPacked(packed, {subject, name}) {
    let inputs;
    try {
      inputs = await unpack(packed);
    } catch (error) {
      this.say(`${subject} is damaged or incomplete (${error.message}): nothing was loaded.`);
      return false;
    }
    // Only a kept form leaves inputs out (openKept), never a link or a saved run: what one of
    // them says it left out is not shown, so that a link's text never stands in the page's own
    // sentences.
    this.form.open(inputs);
    this.say(`Opened ${name}; it runs when you press Run.`);
    return true;
  }

  // Opens the run of the page's link, if it has one, and takes it from the address: a reload
  // then shows the form as the student left it. Resolves to whether it opened one.
  async openLink() {
    if (!location.hash.startsWith(LINK_PREFIX)) {
      return false;
    }
    const text = location.hash.slice(LINK_PREFIX.length);
    history.replaceState(null, "", location.pathname + location.search);
    let packed;
    try {
      packed = fromBase64Url(text);
    } catch {
      this.say(`${A_LINK.subject} is damaged or incomplete: nothing was loaded.`);
      return false;
    }
    return this.openPacked(packed, A_LINK);
  }
}
