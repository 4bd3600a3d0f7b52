// Drawing one hamster: the body at its position, turned to its heading and
// tumbling while high in the air, then its shadow on the ground below.
#pragma once

#include <cstdint>

#include "sim/hamster.h"

// Names of the hamster model's two parts (render/hamster_model.h): display
// lists on the desktop, the WebGL backend's own in a browser.
struct HamsterLists {
  uint32_t body = 0;
  uint32_t shadow = 0;
};

// Draws `hamster` with the current modelview matrix and bound texture. Resets
// its tumble angle when it is not above the tumble height, exactly as a
// headless run does. Leaves the matrix stack as found and the colour white.
void drawHamster(Hamster& hamster, const HamsterLists& lists);

// The painter Hamster::draw is handed: draws with these parts.
class ListPainter final : public HamsterPainter {
 public:
  explicit ListPainter(const HamsterLists& lists) : lists_(lists) {}
  void paint(Hamster& hamster) override { drawHamster(hamster, lists_); }

 private:
  HamsterLists lists_;
};
