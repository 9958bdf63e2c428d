#pragma once

#include <array>
#include <cstdint>

#include "colour/picture.h"

namespace pavona {

// The built-in 320 x 200 test picture as three planes of 64000 bytes, one
// after the other: red, green, blue; pixel (x, y) at y * 320 + x of each.
// It is drawn to exercise a converter: a sky gradient with a sun, hills
// shaded into near black, a skin-toned face, a rainbow strip, saturated and
// dark colour bars over a grey ramp, and a block of one-pixel patterns.
using TestPicturePlanes = std::array<std::uint8_t, 3 * PixelCount>;

// Drawn on first use, then kept for the life of the program.
const TestPicturePlanes& TestPicture();

// The test picture as a frame: R << 16 | G << 8 | B from the three planes.
Picture TestPictureFrame();
// The same, written into `frame`: no picture on the stack on the way.
void TestPictureFrame(Picture& frame);

}  // namespace pavona
