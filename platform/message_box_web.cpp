// The error box in a browser: a box on the page with the caption, the text and
// an OK button that takes it away. A page cannot wait for the button, so the
// call returns at once; the text is on the console already (showMessageBox).
#include <emscripten/emscripten.h>

#include "platform/system_message_box.h"

// clang-format off
EM_JS(void, quibbixShowBox, (const char* caption, const char* text), {
  var box = document.createElement("div");
  box.className = "quibbix-box";
  box.setAttribute("role", "alertdialog");
  var title = document.createElement("h2");
  title.textContent = UTF8ToString(caption);
  var message = document.createElement("p");
  message.textContent = UTF8ToString(text);
  var ok = document.createElement("button");
  ok.textContent = "OK";
  ok.onclick = function() { box.remove(); };
  box.append(title, message, ok);
  document.body.appendChild(box);
  ok.focus();
});
// clang-format on

void showSystemMessageBox(const char* caption, const char* text) {
  quibbixShowBox(caption, text);
}
