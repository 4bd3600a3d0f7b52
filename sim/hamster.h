// One simulated hamster: a point in the pen with a velocity, a walking
// direction, a bounce factor and a tumble used while it is in the air.
//
// Scene units, seconds, heading in radians, tumble values in degrees. Fields
// are single-precision; formulas run in double and are stored back as floats.
#pragma once

class Hamster;

// Drawing lives in render/, which hands Hamster::draw its painter, so that the
// simulation builds and runs without OpenGL.
class HamsterPainter {
 public:
  virtual void paint(Hamster& hamster) = 0;

 protected:
  ~HamsterPainter() = default;
};

class Hamster final {
 public:
  // Draws four random numbers: x, y, vz, heading.
  Hamster();

  // Renders the hamster and its shadow with `painter`. Not read-only: the
  // tumble angle is reset whenever the hamster is not above the tumble height.
  // With no painter only that reset happens, as in a headless replay.
  virtual void draw(HamsterPainter* painter);
  // One frame of motion over timeStep seconds.
  virtual void move();
  // Floor bounce, then the pen walls.
  virtual void confine();

  // Pushes this hamster and `other` apart when they are close; positions only.
  void separate(Hamster& other, float strength);

  // Above this height a hamster is drawn tumbling.
  bool isTumbling() const { return z > 0.3; }
  // The state change that drawing makes: no tumble near the ground.
  void settleTumble() {
    if (!isTumbling()) tumbleAngle = 0;
  }

  float timeStep;     // seconds; written by the frame step before every move
  float x, y, z;      // position; z is the height above the floor
  float vx, vy, vz;   // units per second, vz positive upward
  float restitution;  // bounce factor at floor contact
  float heading;      // radians; walks along (-sin heading, cos heading)
  float walkSpeed;    // units walked per move while on the ground
  float tumbleAngle;  // degrees
  float tumbleRate;   // degrees per second
};
