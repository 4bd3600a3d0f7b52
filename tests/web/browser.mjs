// The server and the browser that the page checks and the frame-rate
// measurement share: scripts/web/serve.sh on a free port of 127.0.0.1, and
// Debian's Chromium, headless, with WebGL through SwiftShader and nothing that
// would reach the network.
import { spawn } from "node:child_process";
import fs from "node:fs";
import net from "node:net";
import path from "node:path";
import { fileURLToPath } from "node:url";

import puppeteer from "puppeteer-core";

const top = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "../..");

function freePort() {
  return new Promise((resolve, reject) => {
    const probe = net.createServer();
    probe.on("error", reject);
    probe.listen(0, "127.0.0.1", () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

// Serves `folder` (which serve.sh takes as build-web/, so it must be that).
export async function serve(folder) {
  if (path.resolve(folder) !== path.join(top, "build-web")) {
    throw new Error(`serve.sh serves ${path.join(top, "build-web")}, not ${folder}`);
  }
  const port = await freePort();
  const child = spawn(path.join(top, "scripts/web/serve.sh"), [String(port)], {
    stdio: ["ignore", "ignore", "ignore"],
  });
  const url = `http://127.0.0.1:${port}/`;
  for (const started = Date.now(); ; ) {
    try {
      if ((await fetch(url)).ok) break;
    } catch {
      // Not listening yet.
    }
    if (child.exitCode !== null || Date.now() - started > 10000) {
      child.kill();
      throw new Error(`scripts/web/serve.sh ${port} did not answer within 10 s`);
    }
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  return { url, stop: () => child.kill() };
}

// A fresh profile in `work` for every launch.
export async function browse(work) {
  const profile = fs.mkdtempSync(path.join(work, "chromium-"));
  const browser = await puppeteer.launch({
    executablePath: "/usr/bin/chromium",
    headless: true,
    args: [
      "--headless=new",
      "--no-sandbox",
      "--use-angle=swiftshader",
      "--enable-unsafe-swiftshader",
      "--disable-background-networking",
      "--disable-component-update",
      "--disable-sync",
      "--no-first-run",
      `--user-data-dir=${profile}`,
    ],
    timeout: 30000,
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}
