#include "render/hamster_draw.h"

#include "render/graphics.h"
#include "sim/hamster.h"

namespace {

// Not 180/pi: the toy has always turned its hamsters by this factor.
constexpr double kDegreesPerRadian = 57.29;

}  // namespace

void drawHamster(Hamster& hamster, const HamsterLists& lists) {
  const float headingDegrees = static_cast<float>(hamster.heading * kDegreesPerRadian);

  gfx::pushMatrix();
  gfx::translate(hamster.x, hamster.y, hamster.z);
  if (hamster.isTumbling()) {
    // The axis lies across the line from the pen's centre, so the hamster
    // somersaults outward; straight above the centre it spins in place.
    gfx::rotate(hamster.tumbleAngle, -hamster.y, hamster.x, 0.01f);
  } else {
    hamster.settleTumble();
  }
  gfx::rotate(headingDegrees, 0, 0, 1);
  gfx::drawModelPart(lists.body);
  gfx::popMatrix();

  // The shadow is not tumbled; it slides away as the hamster rises, as if lit
  // from high up on the +x, +y side, and lies just above the drawn floor.
  gfx::pushMatrix();
  gfx::translate(static_cast<float>(hamster.z * -0.5 + hamster.x + 0.02),
                 static_cast<float>(hamster.z * -0.2 + hamster.y - 0.05), -0.04f);
  gfx::rotate(headingDegrees, 0, 0, 1);
  gfx::drawModelPart(lists.shadow);
  gfx::popMatrix();

  // The shadow list leaves its translucent green behind.
  gfx::setColour(1, 1, 1);
}
