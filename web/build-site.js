// Builds the page's part of the site with Node, at build time; never loaded by the page.
//
//   node build-site.js --modules
//     prints the build targets of the programs' modules (programs.js), as a CMake list
//   node build-site.js SITE EXAMPLES CASES
//     copies into SITE every file that the page loads; writes SITE/example-files.js, each
//     example file that programs.js names, from the folder EXAMPLES, in hex; copies each
//     program's cases, CASES/PROGRAM.json (pack-cases.py), into SITE/cases/; draws the icons
//     that manifest.webmanifest names (build-icons.js); and writes SITE/service-worker.js with
//     this version of the site: its files, and a cache name made from a hash of them all.
//
// What the page loads is found, not listed: index.html's scripts, style and manifest, then every
// module's imports, the workers and other files it names relative to itself, and the picture of
// each program. A file among them missing from web/, or a program module, example file or
// program's cases missing, fails the build with its name, rather than a browser later with a
// 404.

import {createHash} from "node:crypto";
import {copyFileSync, existsSync, mkdirSync, readFileSync, writeFileSync} from "node:fs";
import path from "node:path";
import {fileURLToPath} from "node:url";
import {pngIcon, svgIcon} from "./build-icons.js";
import {PROGRAMS} from "./programs.js";

const WEB = path.dirname(fileURLToPath(import.meta.url));
const EXAMPLE_FILES = "example-files.js";
const SERVICE_WORKER = "service-worker.js";
const MANIFEST = "manifest.webmanifest";
// The icons that the manifest names, each {src, sizes, type, purpose}: drawn here.
const ICONS = JSON.parse(readFileSync(path.join(WEB, MANIFEST), "utf8")).icons;
// Made here, not copied.
const MADE = new Set([EXAMPLE_FILES, SERVICE_WORKER, ...ICONS.map(({src}) => src)]);
// index.html's references to files of the site: URLs with no scheme.
const PAGE_REFERENCE = /\b(?:src|href)="([^":]+)"/g;
// A module's references: from "x" (imports and re-exports), import("x"), and
// new URL("x", import.meta.url) (a worker's script).
const MODULE_REFERENCE =
  /\bfrom\s+"([^"]+)"|\bimport\(\s*"([^"]+)"\s*\)|new URL\(\s*"([^"]+)",\s*import\.meta\.url/g;

function fail(message) {
  console.error(`build-site.js: ${message}`);
  process.exit(1);
}

// The files of web/ that the page loads, as paths relative to web/.
function pageFiles() {
  const found = new Set();
  const pending = [];
  const add = (file, referrer) => {
    if (MADE.has(file) || found.has(file)) {
      return;
    }
    if (!existsSync(path.join(WEB, file))) {
      fail(`${referrer} loads ${file}, which is not in web/`);
    }
    found.add(file);
    pending.push(file);
  };
  add("index.html", "the site");
  for (const {name, picture} of PROGRAMS) {
    add(`pictures/${picture}.js`, `programs.js (the picture of ${name})`);
  }
  while (pending.length > 0) {
    const file = pending.pop();
    const text = readFileSync(path.join(WEB, file), "utf8");
    const pattern = file.endsWith(".html")
      ? PAGE_REFERENCE
      : file.endsWith(".js")
        ? MODULE_REFERENCE
        : null;
    for (const match of pattern ? text.matchAll(pattern) : []) {
      const reference = match.slice(1).find((group) => group !== undefined);
      add(path.posix.join(path.posix.dirname(file), reference), file);
    }
  }
  return [...found];
}

function exampleFiles(examples) {
  const names = new Set(
    PROGRAMS.flatMap(({example}) => [
      ...example.files,
      ...(example.stdin.file ? [example.stdin.file] : []),
    ]),
  );
  const entries = [...names].map((name) => {
    const file = path.join(examples, name);
    if (!existsSync(file)) {
      fail(`programs.js names the example file ${name}, which is not in ${examples}`);
    }
    return `  ${JSON.stringify(name)}: "${readFileSync(file).toString("hex")}",\n`;
  });
  return (
    "// Made from examples/ by build-site.js: each example file's bytes, in hex.\n" +
    `export const EXAMPLE_FILES = {\n${entries.join("")}};\n`
  );
}

// The bytes of an icon of the manifest: the SVG, or a square PNG of the size it gives.
function icon({src, sizes, type, purpose}) {
  if (type === "image/svg+xml") {
    return svgIcon();
  }
  const [width, height] = sizes.split("x").map(Number);
  if (type !== "image/png" || !(width > 0) || width !== height) {
    fail(`${MANIFEST} names the icon ${src}, which is neither SVG nor a square PNG`);
  }
  return pngIcon(width, {maskable: purpose === "maskable"});
}

// service-worker.js with the version of the site before it: shell, the files the page loads,
// kept as the worker installs; rest, kept when the page is idle; the cache's name, from a hash
// of every file's name and bytes.
function serviceWorker(site, shell, rest) {
  const hash = createHash("sha256");
  for (const file of [...shell, ...rest].sort()) {
    hash.update(`${file}\0`).update(readFileSync(path.join(site, file)));
  }
  const version = {
    cache: `five-console-programs-${hash.digest("hex").slice(0, 16)}`,
    // The page's address stands for index.html.
    shell: shell.map((file) => (file === "index.html" ? "./" : file)),
    rest,
  };
  return (
    "// This version of the site, written by build-site.js.\n" +
    `const SITE = ${JSON.stringify(version, null, 2)};\n\n` +
    readFileSync(path.join(WEB, SERVICE_WORKER), "utf8")
  );
}

function build(site, examples, cases) {
  const rest = [];
  for (const {name, module} of PROGRAMS) {
    for (const file of [`${module}.js`, `${module}.wasm`]) {
      if (!existsSync(path.join(site, file))) {
        fail(`the site lacks ${file}, the module of ${name}`);
      }
      rest.push(file);
    }
    const packed = path.join(cases, `${name}.json`);
    if (!existsSync(packed)) {
      fail(`${cases} lacks ${name}.json, the cases of ${name}`);
    }
    mkdirSync(path.join(site, "cases"), {recursive: true});
    copyFileSync(packed, path.join(site, "cases", `${name}.json`));
    rest.push(`cases/${name}.json`);
  }
  const shell = pageFiles();
  for (const file of shell) {
    mkdirSync(path.dirname(path.join(site, file)), {recursive: true});
    copyFileSync(path.join(WEB, file), path.join(site, file));
  }
  writeFileSync(path.join(site, EXAMPLE_FILES), exampleFiles(examples));
  for (const entry of ICONS) {
    writeFileSync(path.join(site, entry.src), icon(entry));
  }
  writeFileSync(
    path.join(site, SERVICE_WORKER),
    serviceWorker(site, [...shell, EXAMPLE_FILES, ...ICONS.map(({src}) => src)], rest),
  );
}

const args = process.argv.slice(2);
if (args.length === 1 && args[0] === "--modules") {
  console.log(PROGRAMS.map(({module}) => module).join(";"));
} else if (args.length === 3) {
  build(...args);
} else {
  fail("usage: node build-site.js --modules | node build-site.js SITE EXAMPLES CASES");
}
