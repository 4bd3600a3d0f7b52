// A modal error box with one OK button. The text always goes to stderr as
// well, because a box can appear to succeed where no one can see it.
#pragma once

#include <functional>

// Shows `text` under `caption` and returns when the user dismisses it.
void showMessageBox(const char* caption, const char* text);

// Replaces the box (not the stderr copy) until called again with an empty
// function; tools without a display and tests use it.
using MessageBoxHandler = std::function<void(const char* caption, const char* text)>;
void setMessageBoxHandler(MessageBoxHandler handler);
