// Offline use: registers the service worker (service-worker.js), which keeps the site in this
// browser; once the page is idle, asks it to keep every program and the cases too, and says
// when the page has thus come to work offline. When a new version of the site has been kept
// beside the one in use, says so, with a button that reloads the page into it.

export class OfflineView {
  constructor() {
    const $ = (id) => document.getElementById(id);
    this.note = $("site-note");
    this.text = $("site-note-text");
    this.reloadButton = $("site-reload");
    this.closeButton = $("site-note-close");
    this.waiting = null; // the worker of a new version, once one waits
    this.closeButton.addEventListener("click", () => this.say(""));
    this.reloadButton.addEventListener("click", () => {
      if (this.waiting.state !== "installed") {
        location.reload(); // the page of another tab has had it take over already
        return;
      }
      navigator.serviceWorker.addEventListener("controllerchange", () => location.reload(), {
        once: true,
      });
      this.waiting.postMessage("take-over");
    });
  }

  say(text) {
    this.text.textContent = text;
    this.note.classList.toggle("shown", text !== "");
    this.closeButton.hidden = text === "";
    this.reloadButton.hidden = !text || !this.waiting;
  }

  // A worker installed: a new version, where an older one serves the page (else the first).
  installed(worker) {
    if (navigator.serviceWorker.controller) {
      this.waiting = worker;
      this.say("A new version of this page is ready: reload to use it.");
    }
  }

  // REQUIRES: the page is set up, so that nothing here delays its first view.
  async start() {
    const {serviceWorker} = navigator;
    if (!serviceWorker) {
      return; // not a secure origin (https, or this computer): the page works while online
    }
    let registration;
    try {
      registration = await serviceWorker.register(new URL("service-worker.js", import.meta.url));
    } catch {
      return; // the browser keeps no service worker here, as some private windows do not
    }
    if (registration.waiting) {
      this.installed(registration.waiting);
    }
    registration.addEventListener("updatefound", () => {
      const worker = registration.installing;
      worker.addEventListener("statechange", () => {
        if (worker.state === "installed") {
          this.installed(worker);
        }
      });
    });
    serviceWorker.addEventListener("message", ({data}) => {
      if (data.kept > 0 && !this.waiting) {
        this.say("Kept in this browser: this page and every program now work offline.");
      }
    });
    const {active} = await serviceWorker.ready;
    (window.requestIdleCallback ?? setTimeout)(() => active.postMessage("keep-rest"));
  }
}
