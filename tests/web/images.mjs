// PNG pictures as RGBA arrays, and how far two of them differ.
import fs from "node:fs";

import pngjs from "pngjs";

export function readPng(file) {
  return pngjs.PNG.sync.read(fs.readFileSync(file));
}

// Mean absolute difference per channel (red, green, blue; of 255) and the
// percentage of pixels whose channels all differ by at most 16.
export function compareImages(a, b) {
  if (a.width !== b.width || a.height !== b.height) {
    throw new Error(`sizes differ: ${a.width} x ${a.height} against ${b.width} x ${b.height}`);
  }
  const pixels = a.width * a.height;
  let sum = 0;
  let within = 0;
  for (let i = 0; i < pixels * 4; i += 4) {
    let largest = 0;
    for (let c = 0; c < 3; c++) {
      const difference = Math.abs(a.data[i + c] - b.data[i + c]);
      sum += difference;
      largest = Math.max(largest, difference);
    }
    if (largest <= 16) within++;
  }
  return { mean: sum / (pixels * 3), within: (100 * within) / pixels };
}
