// The README's picture of the page: a scripted frame (500 hamsters, just
// after a jump) with the page around it, as headless Chromium shows it.
//
// node tests/web/screenshot.mjs BUILD-WEB WORK-FOLDER OUT.png
import path from "node:path";

import { browse, serve } from "./browser.mjs";

const [webFolder, work, out] = process.argv.slice(2).map((p) => path.resolve(p));
const server = await serve(webFolder);
const browser = await browse(work);
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 640, height: 620, deviceScaleFactor: 1 });
  await page.goto(`${server.url}index.html?seed=7&frames=200&count=500&events=185:space`);
  await page.waitForSelector('canvas[data-frame="done"]', { timeout: 60000 });
  await page.screenshot({ path: out });
} finally {
  await browser.close();
  server.stop();
}
