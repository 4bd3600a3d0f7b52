#include "sim/hamster.h"

#include <cmath>

#include "platform/random.h"

namespace {
HamsterPainter installedPainter = nullptr;
}

void installHamsterPainter(HamsterPainter painter) { installedPainter = painter; }

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

void Hamster::draw() {
  if (installedPainter) {
    installedPainter(*this);
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
  double dx = static_cast<double>(x) - other.x;
  if (dx > 0.2 || dx < -0.2) return;
  double dy = static_cast<double>(y) - other.y;
  if (dy > 0.2 || dy < -0.2) return;
  double dz = static_cast<double>(z) - other.z;
  if (dz > 0.2 || dz < -0.2) return;

  double d2 = dz * dz + dy * dy + dx * dx;
  if (d2 < 0.0001) d2 = 0.0001;
  if (!(d2 < 0.04)) return;
  // Close pairs are pushed harder vertically, so one climbs over the other.
  if (d2 < 0.02) dz = dz * 3.0;

  const double px = dx / d2 * 0.04 * strength;
  const double py = dy / d2 * 0.04 * strength;
  const double pz = dz / d2 * 0.04 * strength;
  x = static_cast<float>(x + px);
  other.x = static_cast<float>(other.x - px);
  y = static_cast<float>(y + py);
  other.y = static_cast<float>(other.y - py);
  z = static_cast<float>(z + pz);
  other.z = static_cast<float>(other.z - pz);
}
