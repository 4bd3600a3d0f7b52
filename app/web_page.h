// What the program asks of its web page (app/web/index.html): the query it was
// opened with, a line of status text, the mark on the canvas that a scripted
// frame is finished, and the hooks that tests read (window.quibbix).
#pragma once

#include <string>
#include <vector>

// The page's query as command-line words: "?seed=7&frames=200" gives
// {"--seed", "7", "--frames", "200"}; empty when there is none.
std::vector<std::string> pageQueryOptions();

// Shows `text` in the page's status line.
void showPageStatus(const char* text);

// Sets data-frame="value" on the canvas.
void markCanvas(const char* value);

// Makes window.quibbix.count(), frames() and stopped() answer from the
// program's functions of these names (exported to the page).
extern "C" int quibbixCount();
extern "C" int quibbixFrames();
extern "C" int quibbixStopped();
void installPageHooks();
