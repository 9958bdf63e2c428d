#include "core/test_picture.h"

#include <algorithm>
#include <cmath>

namespace pavona {

namespace {

struct Rgb {
  double red, green, blue;
};

Rgb Mix(const Rgb& a, const Rgb& b, double t)
{
  t = std::clamp(t, 0.0, 1.0);
  return {a.red + (b.red - a.red) * t, a.green + (b.green - a.green) * t,
          a.blue + (b.blue - a.blue) * t};
}

double Smooth(double t)
{
  t = std::clamp(t, 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// Rows 176..199 hold the test bars; everything above is the landscape.
constexpr int BarsTop = 176;
constexpr int DarkBarsTop = 188;
constexpr int RampTop = 194;
constexpr int RainbowTop = 170;
// The block of one-pixel patterns, right of the face and below the sun.
constexpr int PatternLeft = 256;
constexpr int PatternTop = 114;

// The saturated bars, 40 pixels each: white, yellow, cyan, green, magenta,
// red, blue, black; the row below shows them at a quarter of full strength.
constexpr std::uint32_t BarColours[8] = {0xFFFFFF, 0xFFFF00, 0x00FFFF, 0x00FF00,
                                         0xFF00FF, 0xFF0000, 0x0000FF, 0x000000};

Rgb FromColour(std::uint32_t colour)
{
  return {double(RedOf(colour)), double(GreenOf(colour)), double(BlueOf(colour))};
}

Rgb Hue(double h)  // h in 0..1 around the colour wheel, full saturation
{
  const double sector = h * 6;
  const double f = sector - std::floor(sector);
  switch (int(sector) % 6) {
    case 0:
      return {255, 255 * f, 0};
    case 1:
      return {255 * (1 - f), 255, 0};
    case 2:
      return {0, 255, 255 * f};
    case 3:
      return {0, 255 * (1 - f), 255};
    case 4:
      return {255 * f, 0, 255};
    default:
      return {255, 0, 255 * (1 - f)};
  }
}

Rgb Sky(int x, int y)
{
  const Rgb zenith{18, 36, 110};
  const Rgb middle{80, 140, 225};
  const Rgb horizon{250, 190, 150};
  Rgb sky = y < 60 ? Mix(zenith, middle, y / 60.0) : Mix(middle, horizon, (y - 60) / 60.0);
  // Warmer toward the sun's side, so the gradient runs both ways.
  sky = Mix(sky, Rgb{240, 170, 190}, 0.3 * x / PictureWidth * (1 - y / 160.0));
  // A glow around the sun, then the sun's disc.
  const double distance = std::hypot(x - 248.0, y - 44.0);
  sky = Mix(sky, Rgb{255, 222, 150}, 0.8 * (1 - Smooth((distance - 18) / 34)));
  if (distance < 18) {
    sky = Mix(Rgb{255, 252, 225}, Rgb{255, 236, 160}, distance / 18);
  }
  return sky;
}

Rgb Landscape(int x, int y)
{
  const double farRidge = 108 + 9 * std::sin(x * 0.035) + 5 * std::sin(x * 0.11 + 1);
  const double nearRidge = 138 + 13 * std::sin(x * 0.022 + 2) + 4 * std::sin(x * 0.09);
  if (y >= nearRidge) {
    // Near hill: fresh green at the ridge darkening to almost black.
    return Mix(Rgb{96, 176, 64}, Rgb{6, 24, 10}, (y - nearRidge) / (RainbowTop - nearRidge));
  }
  if (y >= farRidge) {
    // Far hill: hazy blue-green, a little lighter toward the valley.
    return Mix(Rgb{64, 110, 104}, Rgb{120, 150, 130}, (y - farRidge) / 40);
  }
  return Sky(x, y);
}

// A face-like disc lit from the upper left, with hair, eyes and a mouth.
bool Face(int x, int y, Rgb& colour)
{
  const double cx = 84, cy = 100, radius = 40;
  const double dx = (x - cx) / radius, dy = (y - cy) / radius;
  const double d2 = dx * dx + dy * dy;
  if (d2 >= 1) {
    return false;
  }
  const double nz = std::sqrt(1 - d2);
  const double light = std::clamp((-0.45 * dx - 0.5 * dy + 0.74 * nz) / 1.0, 0.0, 1.0);
  colour = Mix(Rgb{120, 70, 50}, Rgb{248, 206, 176}, light);
  if (dy < -0.55 + 0.25 * dx * dx) {
    colour = Mix(Rgb{22, 12, 6}, Rgb{96, 60, 34}, light);  // hair
    return true;
  }
  const double cheek = std::hypot(std::abs(x - cx) - 20, y - 110.0);
  colour = Mix(colour, Rgb{230, 120, 120}, 0.35 * (1 - Smooth(cheek / 9)));
  for (const double eyeX : {cx - 14, cx + 14}) {
    const double ex = (x - eyeX) / 8, ey = (y - 94.0) / 4.5;
    if (ex * ex + ey * ey < 1) {
      colour = Rgb{236, 236, 230};
      const double iris = std::hypot(x - eyeX, y - 94.0);
      if (iris < 4) {
        colour = iris < 2 ? Rgb{8, 8, 8} : Rgb{60, 110, 150};
      }
    }
  }
  const double mouth = std::hypot(x - cx, y - 100.0);
  if (mouth > 18 && mouth < 21.5 && y > 112 && std::abs(x - cx) < 13) {
    colour = Rgb{176, 48, 64};
  }
  return true;
}

// Four 32 x 28 blocks of one-pixel detail: a checkerboard, vertical and
// horizontal lines in complementary colours, and rings that get finer
// toward the block's edge.
bool Patterns(int x, int y, Rgb& colour)
{
  const int px = x - PatternLeft, py = y - PatternTop;
  if (px < 0 || py < 0 || py >= 56) {
    return false;
  }
  const int bx = px % 32, by = py % 28;
  switch ((py / 28) * 2 + px / 32) {
    case 0:
      colour = (bx + by) % 2 ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
      break;
    case 1:
      colour = bx % 2 ? Rgb{255, 0, 0} : Rgb{0, 255, 255};
      break;
    case 2:
      colour = by % 2 ? Rgb{0, 0, 255} : Rgb{255, 255, 0};
      break;
    default:
      colour = (bx * bx + by * by) / 24 % 2 ? Rgb{255, 0, 255} : Rgb{0, 96, 0};
      break;
  }
  return true;
}

Rgb TestPixel(int x, int y)
{
  if (y >= RampTop) {
    const double grey = x * 255.0 / (PictureWidth - 1);
    return {grey, grey, grey};
  }
  if (y >= DarkBarsTop) {
    const Rgb bar = FromColour(BarColours[x / 40]);
    return x / 40 == 7 ? Rgb{32, 32, 32} : Rgb{bar.red / 4, bar.green / 4, bar.blue / 4};
  }
  if (y >= BarsTop) {
    return FromColour(BarColours[x / 40]);
  }
  if (y >= RainbowTop) {
    return Hue(x / double(PictureWidth));
  }
  Rgb colour;
  if (Patterns(x, y, colour) || Face(x, y, colour)) {
    return colour;
  }
  return Landscape(x, y);
}

std::uint8_t ToByte(double value)
{
  return std::uint8_t(std::clamp(std::lround(value), 0L, 255L));
}

TestPicturePlanes DrawTestPicture()
{
  TestPicturePlanes planes{};
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < PictureWidth; ++x) {
      const Rgb colour = TestPixel(x, y);
      const int offset = PixelIndex(x, y);
      planes[offset] = ToByte(colour.red);
      planes[PixelCount + offset] = ToByte(colour.green);
      planes[2 * PixelCount + offset] = ToByte(colour.blue);
    }
  }
  return planes;
}

}  // namespace

const TestPicturePlanes& TestPicture()
{
  static const TestPicturePlanes planes = DrawTestPicture();
  return planes;
}

Picture TestPictureFrame()
{
  Picture frame;
  TestPictureFrame(frame);
  return frame;
}

void TestPictureFrame(Picture& frame)
{
  const TestPicturePlanes& planes = TestPicture();
  for (int i = 0; i < PixelCount; ++i) {
    frame[i] = MakeColour(planes[i], planes[PixelCount + i], planes[2 * PixelCount + i]);
  }
}

}  // namespace pavona
