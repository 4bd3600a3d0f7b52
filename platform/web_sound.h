// Sound in a browser, through Web Audio: each file is read from the program's
// file system and decoded once, then played from memory. A browser may keep
// sound off until the page's first key or click (wake() is called from those
// handlers); a sound started before then is not heard, later ones are.
#pragma once

#include <map>
#include <string>

#include "platform/sound.h"

class WebSound final : public Sound {
 public:
  void playAsync(const char* fileName) override;
  void preload(const char* fileName) override;
  // Lets the page's audio start, from within a user's key or click.
  static void wake();

 private:
  int idFor(const std::string& fileName);

  std::map<std::string, int> ids_;  // -1: the file could not be read, already reported
};
