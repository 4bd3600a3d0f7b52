// Frames per second of the page in headless Chromium (WebGL through
// SwiftShader) at the given crowd sizes: + is typed until the page counts that
// many hamsters, then the frames drawn in the next SECONDS are counted. Also
// the time from navigation to the first frame. bench/README.md has figures.
//
// node tests/web/frame_rate.mjs BUILD-WEB WORK-FOLDER SECONDS COUNT...
import fs from "node:fs";
import path from "node:path";

import { browse, serve } from "./browser.mjs";

const [webFolder, work, secondsText, ...counts] = process.argv.slice(2);
const seconds = Number(secondsText);
if (!work || !(seconds > 0) || counts.length === 0) {
  console.error("usage: node frame_rate.mjs BUILD-WEB WORK-FOLDER SECONDS COUNT...");
  process.exit(2);
}
fs.mkdirSync(work, { recursive: true });

const server = await serve(path.resolve(webFolder));
const browser = await browse(path.resolve(work));
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 700, height: 700, deviceScaleFactor: 1 });
  await page.goto(server.url, { waitUntil: "load" });
  const firstFrame = await page.waitForFunction(
    () => window.quibbix && window.quibbix.frames() > 0 && performance.now(),
    { timeout: 60000 },
  );
  console.log(`first frame ${Math.round(await firstFrame.jsonValue())} ms after navigation`);
  for (const count of counts.map(Number)) {
    while ((await page.evaluate(() => window.quibbix.count())) < count) await page.keyboard.type("+");
    // A second to settle, then the count over the window.
    await new Promise((resolve) => setTimeout(resolve, 1000));
    const before = await page.evaluate(() => [window.quibbix.frames(), performance.now()]);
    await new Promise((resolve) => setTimeout(resolve, seconds * 1000));
    const after = await page.evaluate(() => [window.quibbix.frames(), performance.now()]);
    const rate = ((after[0] - before[0]) * 1000) / (after[1] - before[1]);
    console.log(`${count} hamsters: ${rate.toFixed(1)} frames per second`);
  }
} finally {
  await browser.close();
  server.stop();
}
