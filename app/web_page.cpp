#include "app/web_page.h"

#include <emscripten/emscripten.h>

// clang-format off
// Writes the words, one a line, into `buffer` when they fit in `size` bytes;
// returns the bytes they need (with the terminating zero).
EM_JS(int, quibbixPageQuery, (char* buffer, int size), {
  var words = [];
  new URLSearchParams(location.search).forEach(function(value, name) {
    words.push("--" + name, value);
  });
  var text = words.join("\n");
  var needed = lengthBytesUTF8(text) + 1;
  if (needed <= size) stringToUTF8(text, buffer, size);
  return needed;
});
EM_JS(void, quibbixShowStatus, (const char* text), {
  var line = document.getElementById("status");
  if (line) line.textContent = UTF8ToString(text);
});
EM_JS(void, quibbixMarkCanvas, (const char* value), {
  Module.canvas.setAttribute("data-frame", UTF8ToString(value));
});
EM_JS(void, quibbixInstallHooks, (), {
  window.quibbix = {count: function() { return _quibbixCount(); },
                    frames: function() { return _quibbixFrames(); },
                    stopped: function() { return _quibbixStopped() !== 0; }};
});
// clang-format on

std::vector<std::string> pageQueryOptions() {
  std::string joined(static_cast<size_t>(quibbixPageQuery(nullptr, 0)), '\0');
  quibbixPageQuery(joined.data(), static_cast<int>(joined.size()));
  joined.pop_back();
  std::vector<std::string> words;
  if (joined.empty()) return words;
  size_t start = 0;
  for (size_t end; (end = joined.find('\n', start)) != std::string::npos; start = end + 1) {
    words.push_back(joined.substr(start, end - start));
  }
  words.push_back(joined.substr(start));
  return words;
}

void showPageStatus(const char* text) {
  quibbixShowStatus(text);
}

void markCanvas(const char* value) {
  quibbixMarkCanvas(value);
}

void installPageHooks() {
  quibbixInstallHooks();
}
