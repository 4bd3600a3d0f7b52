// The browser build in Debian's Chromium (headless, WebGL through SwiftShader),
// served by scripts/web/serve.sh: the page loads and draws without a console
// error; + and - change the crowd, space, a left click and a tap each start
// the jump sound, Esc and q stop the frames; a scripted frame matches
// quibbix-shot's picture of the same run. Each step has a time limit and a
// failure names its step.
//
// node tests/web/page_checks.mjs BUILD-WEB LINUX-BUILD WORK-FOLDER
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";

import { browse, serve } from "./browser.mjs";
import { compareImages, readPng } from "./images.mjs";

const [webFolder, linuxBuild, work] = process.argv.slice(2).map((p) => path.resolve(p));
if (!work) {
  console.error("usage: node page_checks.mjs BUILD-WEB LINUX-BUILD WORK-FOLDER");
  process.exit(2);
}
fs.mkdirSync(work, { recursive: true });

// The scripted frames compared with quibbix-shot: its options, and the page's
// query for the same run.
const kScriptedRuns = [
  { seed: 7, frames: 200, count: 10 },
  { seed: 7, frames: 200, count: 500, events: "185:space", spin: 30 },
  { seed: 3, frames: 90, count: 100, "frame-ms": "16,33,8", events: "40:click,41:plus" },
];

let failures = 0;
let passes = 0;
let pageErrors = []; // the console errors of the page open now
async function step(name, limitMs, body) {
  const started = Date.now();
  let timer;
  try {
    const limit = new Promise((_, reject) => {
      timer = setTimeout(() => reject(new Error(`no result within ${limitMs / 1000} s`)), limitMs);
    });
    const note = await Promise.race([body(), limit]);
    passes++;
    console.log(`   ${name}: ${Date.now() - started} ms${note ? `, ${note}` : ""}`);
    return true;
  } catch (error) {
    failures++;
    // What the page said on its console tells why it never got there.
    const said = pageErrors.length > 0 ? ` (the page's console: ${pageErrors.join("; ")})` : "";
    console.error(`web check failed: ${name}: ${error.message}${said}`);
    return false;
  } finally {
    clearTimeout(timer);
  }
}
function check(condition, message) {
  if (!condition) throw new Error(message);
}

let server;
let browser;
const started = await step("served, and Chromium started", 60000, async () => {
  server = await serve(webFolder);
  const wasm = await fetch(`${server.url}quibbix.wasm`);
  check(wasm.ok, `quibbix.wasm: HTTP ${wasm.status}`);
  const type = wasm.headers.get("content-type");
  check(type === "application/wasm", `quibbix.wasm served as ${type}`);
  browser = await browse(work);
  return server.url;
});
try {
  if (started) {
    await interactivePage();
    await quitKeyStops();
    for (const run of kScriptedRuns) await scriptedFrame(run);
  }
} finally {
  await browser?.close();
  server?.stop();
}
console.log(`web page checks: ${passes} passed, ${failures} failed`);
process.exit(failures === 0 ? 0 : 1);

// A fresh page that counts the sounds it starts and keeps its console errors.
async function openPage() {
  const page = await browser.newPage();
  await page.setViewport({ width: 700, height: 700, deviceScaleFactor: 1, hasTouch: true });
  const errors = [];
  pageErrors = errors;
  page.on("console", (message) => {
    if (message.type() === "error") errors.push(message.text());
  });
  // An exception the page did not catch ends the wait for what it would have done.
  let fail;
  const broken = new Promise((_, reject) => {
    fail = reject;
  });
  broken.catch(() => {});
  page.on("pageerror", (error) => {
    errors.push(`uncaught: ${error.message}`);
    fail(new Error("the page stopped on an exception"));
  });
  page.on("requestfailed", (request) => errors.push(`request failed: ${request.url()}`));
  await page.evaluateOnNewDocument(() => {
    window.soundsStarted = 0;
    const start = AudioBufferSourceNode.prototype.start;
    AudioBufferSourceNode.prototype.start = function (...args) {
      window.soundsStarted++;
      return start.apply(this, args);
    };
  });
  // Waits for `predicate` to hold in the page, or for the page to break.
  const waitFor = (predicate, arg) =>
    Promise.race([page.waitForFunction(predicate, { timeout: 0 }, arg), broken]);
  return { page, errors, waitFor };
}

async function interactivePage() {
  const { page, errors, waitFor } = await openPage();
  const hooks = (expression) => page.evaluate(expression);

  const loaded = await step("page loads and draws", 30000, async () => {
    await page.goto(server.url, { waitUntil: "load" });
    const firstFrame = await waitFor(() => window.quibbix && window.quibbix.frames() > 0 && performance.now());
    const size = await hooks(() => {
      const canvas = document.querySelector("canvas");
      return canvas && [canvas.width, canvas.height];
    });
    check(size && size[0] === 500 && size[1] === 500, `canvas is ${size}, not 500 x 500`);
    check(/Quibbix/.test(await page.title()), `title "${await page.title()}"`);
    return `first frame ${Math.round(await firstFrame.jsonValue())} ms after navigation`;
  });
  if (!loaded) return;

  await step("+ and - change the crowd", 15000, async () => {
    check((await hooks(() => window.quibbix.count())) === 10, "the page did not start at 10 hamsters");
    for (let i = 0; i < 4; i++) await page.keyboard.type("+");
    await waitFor(() => window.quibbix.count() === 50);
    await page.keyboard.type("-");
    await waitFor(() => window.quibbix.count() === 40);
  });

  // One sound for one action, not two: a tap must not count again as a click.
  const startsOneSound = async (action) => {
    const before = await hooks(() => window.soundsStarted);
    await action();
    await waitFor((n) => window.soundsStarted >= n + 1, before);
    await new Promise((resolve) => setTimeout(resolve, 300));
    const started = (await hooks(() => window.soundsStarted)) - before;
    check(started === 1, `${started} sounds started`);
  };
  const box = await (await page.$("canvas")).boundingBox();
  const middle = [box.x + box.width / 2, box.y + box.height / 2];
  await step("space starts the sound", 10000, () => startsOneSound(() => page.keyboard.press("Space")));
  await step("a left click starts the sound", 10000, () =>
    startsOneSound(() => page.mouse.click(...middle, { button: "left" })),
  );
  await step("a tap starts the sound", 10000, () => startsOneSound(() => page.touchscreen.tap(...middle)));

  await step("Esc stops the frames", 10000, async () => {
    const running = await hooks(() => window.quibbix.frames());
    await waitFor((n) => window.quibbix.frames() > n, running);
    check(!(await hooks(() => window.quibbix.stopped())), "stopped before Esc");
    await page.keyboard.press("Escape");
    await waitFor(() => window.quibbix.stopped());
    const last = await hooks(() => window.quibbix.frames());
    await new Promise((resolve) => setTimeout(resolve, 500));
    const later = await hooks(() => window.quibbix.frames());
    check(later === last, `frames went on from ${last} to ${later} after Esc`);
  });

  await step("no console error", 1000, async () => {
    check(errors.length === 0, `${errors.length} console errors`);
  });
  await page.close();
}

// q stops the page as Esc does.
async function quitKeyStops() {
  const { page, waitFor } = await openPage();
  await step("q stops the frames", 30000, async () => {
    await page.goto(server.url, { waitUntil: "load" });
    await waitFor(() => window.quibbix && window.quibbix.frames() > 0);
    await page.keyboard.type("q");
    await waitFor(() => window.quibbix.stopped());
  });
  await page.close();
}

async function scriptedFrame(run) {
  const options = Object.entries(run);
  const name = options.map(([key, value]) => `${key} ${value}`).join(", ");
  await step(`scripted frame like quibbix-shot (${name})`, 60000, async () => {
    const stem = path.join(work, options.map(([, value]) => value).join("_").replace(/[^0-9a-z_]+/gi, "-"));
    const shotArgs = options.flatMap(([key, value]) => [`--${key}`, String(value)]);
    execFileSync(path.join(linuxBuild, "quibbix-shot"), [...shotArgs, "--out", `${stem}-shot.png`], {
      stdio: ["ignore", "ignore", "inherit"],
      timeout: 30000,
    });

    const { page, errors, waitFor } = await openPage();
    const query = new URLSearchParams(options.map(([key, value]) => [key, String(value)]));
    await page.goto(`${server.url}index.html?${query}`, { waitUntil: "load" });
    await waitFor(() => document.querySelector('canvas[data-frame="done"]') !== null);
    const canvas = await page.$("canvas");
    await canvas.screenshot({ path: `${stem}-page.png` });
    await page.close();
    check(errors.length === 0, `${errors.length} console errors`);

    const result = compareImages(readPng(`${stem}-page.png`), readPng(`${stem}-shot.png`));
    const note = `mean difference ${result.mean.toFixed(3)} of 255, ${result.within.toFixed(2)} % of pixels within 16`;
    check(result.mean <= 3.0 && result.within >= 95, `${note} (${stem}-page.png against -shot.png)`);
    return note;
  });
}
