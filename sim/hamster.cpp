#include "sim/hamster.h"

#include <cmath>

#include "platform/random.h"
#include "sim/push_apart.h"

namespace {
constexpr double kTumbleWrapAt = 36000;  // degrees: a hundred turns
}  // namespace

Hamster::Hamster()
    : timeStep(0.05f),
      z(0),
      vx(0),
      vy(0),
      restitution(1.0f),
      walkSpeed(0.01f),
      tumbleAngle(0),
      tumbleRate(200.0f) {
  x = static_cast<float>((platform::rand() % 2000 - 1000) * 0.001);
  y = static_cast<float>((platform::rand() % 2000 - 1000) * 0.001);
  vz = static_cast<float>(platform::rand() % 40 * 0.005 + 0.1);
  heading = static_cast<float>(platform::rand() % 60 * 0.1);
}

void Hamster::draw(HamsterPainter* painter) {
  if (painter) {
    painter->paint(*this);
  } else {
    settleTumble();
  }
}

void Hamster::move() {
  const double dt = timeStep;
  x = static_cast<float>(x + vx * dt);
  y = static_cast<float>(y + vy * dt);
  z = static_cast<float>(z + vz * dt);  // the speed before this frame's gravity
  vz = static_cast<float>(vz + dt * -3.0);
  tumbleAngle = static_cast<float>(tumbleAngle + tumbleRate * dt);
  // Jump requests that keep coming (a held key) keep a hamster in the air and
  // its tumble growing; by then a float would lose the step. Whole turns come
  // off only far above any single flight, so ordinary runs keep their values.
  if (tumbleAngle >= kTumbleWrapAt) {
    tumbleAngle = static_cast<float>(std::fmod(static_cast<double>(tumbleAngle), 360.0));
  }
  // On the ground a hamster walks a fixed step per frame, whatever dt is.
  if (z < 0.05) {
    x = static_cast<float>(x - walkSpeed * std::sin(static_cast<double>(heading)));
    y = static_cast<float>(y + walkSpeed * std::cos(static_cast<double>(heading)));
  }
}

void Hamster::confine() {
  // Strict tests: a zero of either sign does not bounce.
  if (z < 0 && vz < 0) {
    z = static_cast<float>(z * -0.5);
    if (restitution > 0.9) restitution = 0.9f;
    restitution = static_cast<float>(restitution * 0.6);
    vz = static_cast<float>(-(static_cast<double>(restitution) * vz));
    if (vz > 2.0) vz = 2.0f;
  }

  // The floats are compared with the doubles ±1.1; in a corner the y wall's
  // heading wins because it is tested last.
  bool hitWall = false;
  if (x < -1.1) {
    x = -0.98f;
    heading = 5.21f;
    hitWall = true;
  }
  if (x > 1.1) {
    x = 0.98f;
    heading = 2.07f;
    hitWall = true;
  }
  if (y < -1.1) {
    y = -0.98f;
    heading = 0.5f;
    hitWall = true;
  }
  if (y > 1.1) {
    y = 0.98f;
    heading = 3.64f;
    hitWall = true;
  }
  if (hitWall) {
    vx = 0;
    vy = 0;
  }
}

void Hamster::separate(Hamster& other, float strength) {
  pushApart(x, y, z, other.x, other.y, other.z, strength);
}
