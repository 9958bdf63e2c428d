#include "plain_hires_selection.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "colour/mix_pair_codes.h"
#include "colour/yuv.h"
#include "support/x87_colour_reference.h"

namespace pavona::plain_hires {
namespace {

std::uint32_t RgbDistance(std::uint32_t p, std::uint32_t s)
{
  return std::uint32_t(std::abs(RedOf(p) - RedOf(s)) + std::abs(GreenOf(p) - GreenOf(s)) +
                       std::abs(BlueOf(p) - BlueOf(s)));
}

// ---- "Hires Standard" ----

std::uint32_t HiresDistance(Measure measure, std::uint32_t p, Yuv py, std::uint32_t s, Yuv sy)
{
  if (measure == Measure::RgbDistance) {
    return RgbDistance(p, s);
  }
  if (measure == Measure::Brightness) {
    return std::uint32_t(std::abs(py.y - sy.y));
  }
  const int dy = py.y - sy.y, du = py.u - sy.u, dv = py.v - sy.v;
  return std::uint32_t(2 * (dy * dy + du * du + dv * dv));
}

}  // namespace

void SelectHiresCell(Picture& result, const MixTable& table, Measure measure, C64Data& data, int cx,
                     int cy)
{
  struct Candidate {
    std::uint32_t error;
    std::uint32_t a;
    std::uint32_t b;
  };
  // The pixels' Y, U, V do not depend on the pair: worked out once.
  Yuv pixelYuv[8][8];
  for (int r = 0; r < 8; ++r) {
    for (int k = 0; k < 8; ++k) {
      pixelYuv[r][k] = ColourToYuv(result[PixelIndex(cx * 8 + k, cy * 8 + r)]);
    }
  }
  std::vector<Candidate> candidates;
  for (int i = 0; i < 16; ++i) {
    for (int j = i; j < 16; ++j) {
      const Yuv ya{table.y[i], table.u[i], table.v[i]};
      const Yuv yb{table.y[j], table.u[j], table.v[j]};
      std::uint32_t error = 0;
      for (int r = 0; r < 8; ++r) {
        for (int k = 0; k < 8; ++k) {
          const std::uint32_t p = result[PixelIndex(cx * 8 + k, cy * 8 + r)];
          const Yuv py = pixelYuv[r][k];
          error += std::min(HiresDistance(measure, p, py, table.colour[i], ya),
                            HiresDistance(measure, p, py, table.colour[j], yb));
        }
      }
      candidates.push_back({error, table.colour[i], table.colour[j]});
    }
  }
  std::size_t winner = 0;
  for (std::size_t n = 1; n < candidates.size(); ++n) {
    if (candidates[n].error < candidates[winner].error) {
      winner = n;
    }
  }
  const std::uint32_t a = candidates[winner].a, b = candidates[winner].b;
  auto index = [&](std::uint32_t s) {
    int k = 0;
    while (table.colour[k] != s) {
      ++k;
    }
    return k;
  };
  data[HiresLayout::HiresScreen1.offset + cy * 40 + cx] = std::uint8_t(index(a) * 16 + index(b));
  const Yuv ya = ColourToYuv(a), yb = ColourToYuv(b);
  for (int r = 0; r < 8; ++r) {
    for (int k = 0; k < 8; ++k) {
      std::uint32_t& p = result[PixelIndex(cx * 8 + k, cy * 8 + r)];
      const Yuv py = ColourToYuv(p);
      if (HiresDistance(measure, p, py, b, yb) < HiresDistance(measure, p, py, a, ya)) {
        p = b;
      } else {
        p = a;
        data[HiresLayout::HiresBitmap1.offset + cy * 320 + cx * 8 + r] += 0x80 >> k;
      }
    }
  }
}

// ---- "Hires Interlaced" ----

void SelectHiresInterlaceCell(Picture& result, const MixTable& table, C64Data& data, int cx, int cy)
{
  auto removed = [&](int k) { return k != 0 && table.colour[k] == table.colour[0]; };
  auto mixOf = [&](int a, int b) {
    const std::uint32_t code = std::uint32_t(std::min(a, b) * 16 + std::max(a, b));
    int k = 0;
    while (MixPairCodes[k] != code) {
      ++k;
    }
    return k;
  };
  struct Candidate {
    std::uint32_t error;
    std::uint32_t colour[4];  // X, Y, C1, C2
    std::uint32_t code[4];
  };
  std::vector<Candidate> candidates;
  for (int i = 0; i < 136; ++i) {
    for (int j = i; j < 136; ++j) {
      Candidate candidate{};
      if (removed(i) || removed(j)) {
        candidate.error = 65535;
        candidates.push_back(candidate);
        continue;
      }
      const std::uint32_t cx1 = MixPairCodes[i] >> 4, cx2 = MixPairCodes[i] & 15;
      const std::uint32_t cy1 = MixPairCodes[j] >> 4, cy2 = MixPairCodes[j] & 15;
      const int c1 = mixOf(int(cx1), int(cy2));
      const int c2 = mixOf(int(cy1), int(cx2));
      candidate.colour[0] = table.colour[i];
      candidate.code[0] = MixPairCodes[i];
      candidate.colour[1] = table.colour[j];
      candidate.code[1] = MixPairCodes[j];
      candidate.colour[2] = removed(c1) ? table.colour[i] : table.colour[c1];
      candidate.code[2] = removed(c1) ? MixPairCodes[i] : MixPairCodes[c1];
      candidate.colour[3] = removed(c2) ? table.colour[i] : table.colour[c2];
      candidate.code[3] = removed(c2) ? MixPairCodes[i] : MixPairCodes[c2];
      for (int r = 0; r < 8; ++r) {
        for (int k = 0; k < 8; ++k) {
          const std::uint32_t p = result[PixelIndex(cx * 8 + k, cy * 8 + r)];
          candidate.error +=
              std::min({RgbDistance(p, candidate.colour[0]), RgbDistance(p, candidate.colour[1]),
                        RgbDistance(p, candidate.colour[2]), RgbDistance(p, candidate.colour[3])});
        }
      }
      candidates.push_back(candidate);
    }
  }
  std::size_t winner = 0;
  for (std::size_t n = 1; n < candidates.size(); ++n) {
    if (candidates[n].error < candidates[winner].error) {
      winner = n;
    }
  }
  const Candidate& w = candidates[winner];
  data[HiresLayout::HiresScreen1.offset + cy * 40 + cx] =
      std::uint8_t((w.code[0] & 0xF0) | (w.code[1] >> 4));
  data[HiresLayout::HiresScreen2.offset + cy * 40 + cx] =
      std::uint8_t(((w.code[0] & 0x0F) << 4) | (w.code[1] & 0x0F));
  const bool field1Bit[4] = {true, false, true, false};
  const bool field2Bit[4] = {true, false, false, true};
  for (int r = 0; r < 8; ++r) {
    for (int k = 0; k < 8; ++k) {
      std::uint32_t& p = result[PixelIndex(cx * 8 + k, cy * 8 + r)];
      int chosen = 0;
      std::uint32_t smallest = RgbDistance(p, w.colour[0]);
      for (int m = 1; m < 4; ++m) {
        if (RgbDistance(p, w.colour[m]) < smallest) {
          smallest = RgbDistance(p, w.colour[m]);
          chosen = m;
        }
      }
      p = w.colour[chosen];
      if (field1Bit[chosen]) {
        data[HiresLayout::HiresBitmap1.offset + cy * 320 + cx * 8 + r] += 0x80 >> k;
      }
      if (field2Bit[chosen]) {
        data[HiresLayout::HiresBitmap2.offset + cy * 320 + cx * 8 + r] += 0x80 >> k;
      }
    }
  }
}

// ---- Single bank ----

namespace {

struct FloatYuv {
  float y, u, v;
};

// Written out here rather than taken from the colour library, so that a slip
// in either shows up as a difference.
FloatYuv FloatsOf(std::uint32_t c)
{
#ifdef PAVONA_HAVE_X87_REFERENCE
  const int r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
  return {float(x87::Luma(r, g, b)), float(x87::ChromaU(r, g, b)), float(x87::ChromaV(r, g, b))};
#else
  // Without the x87 type the colour library's conversion stands in; the
  // exhaustive test holds it to the x87 form on x86-64.
  const YuvFloat yuv = ColourToYuvFloat(c);
  return {yuv.y, yuv.u, yuv.v};
#endif
}

int Trunc(float a, float b)
{
  return int(double(a) - double(b));
}

// A colour with its floats, worked out once per pixel or candidate colour.
struct Valued {
  std::uint32_t colour;
  FloatYuv f;
};

Valued WithFloats(std::uint32_t colour)
{
  return {colour, FloatsOf(colour)};
}

std::uint32_t BankDistance(Measure measure, const Valued& p, const Valued& s)
{
  if (measure == Measure::RgbDistance) {
    return RgbDistance(p.colour, s.colour);
  }
  const int dy = std::abs(Trunc(p.f.y, s.f.y));
  if (measure == Measure::Brightness) {
    return std::uint32_t(dy);
  }
  const int du = std::abs(Trunc(p.f.u, s.f.u)), dv = std::abs(Trunc(p.f.v, s.f.v));
  return std::uint32_t(2 * (dy * dy + du * du + dv * dv));
}

std::uint32_t BankMix(std::uint32_t c1, std::uint32_t c2, Measure measure, int limit)
{
  const FloatYuv f1 = FloatsOf(c1), f2 = FloatsOf(c2);
  if (std::abs(Trunc(f1.y, f2.y)) > limit) {
    return c1;
  }
  if (measure == Measure::RgbDistance) {
    return MakeColour((RedOf(c1) + RedOf(c2)) >> 1, (GreenOf(c1) + GreenOf(c2)) >> 1,
                      (BlueOf(c1) + BlueOf(c2)) >> 1);
  }
  const float ym = (f1.y + f2.y) * 0.5f, um = (f1.u + f2.u) * 0.5f, vm = (f1.v + f2.v) * 0.5f;
#ifdef PAVONA_HAVE_X87_REFERENCE
  return x87::ToColour(ym, um, vm);
#else
  return YuvToColour(ym, um, vm);
#endif
}

int LimitOf(FlickerLevel level)
{
  switch (level) {
    case FlickerLevel::Off:
      return 1000;
    case FlickerLevel::Light:
      return 100;
    case FlickerLevel::Medium:
      return 70;
    case FlickerLevel::Heavy:
      break;
  }
  return 50;
}

struct Pixel {
  int x, y, bitmapOffset;  // offset within a bitmap region
};

// One unit: its pixels in their visiting order, where its screen byte goes
// in each field, and which bitmaps hold its bits.
void SelectSingleBankUnit(Picture& result, const C64Palette& palette, Measure measure,
                          FlickerLevel level, C64Data& data, const std::vector<Pixel>& pixels,
                          int screen1, int screen2, int bitmap1, int bitmap2)
{
  const int limit = LimitOf(level);
  struct Candidate {
    std::uint32_t error;
    Valued c1, mix, c2;
    int i, j;
  };
  std::vector<Valued> values;
  for (const Pixel& px : pixels) {
    values.push_back(WithFloats(result[PixelIndex(px.x, px.y)]));
  }
  std::vector<Candidate> candidates;
  for (int i = 0; i < 16; ++i) {
    for (int j = i; j < 16; ++j) {
      Candidate candidate{0,
                          WithFloats(palette[i]),
                          WithFloats(BankMix(palette[i], palette[j], measure, limit)),
                          WithFloats(palette[j]),
                          i,
                          j};
      for (const Valued& p : values) {
        candidate.error += std::min({BankDistance(measure, p, candidate.c1),
                                     BankDistance(measure, p, candidate.c2),
                                     BankDistance(measure, p, candidate.mix)});
      }
      candidates.push_back(candidate);
    }
  }
  std::size_t winner = 0;
  for (std::size_t n = 1; n < candidates.size(); ++n) {
    if (candidates[n].error < candidates[winner].error) {
      winner = n;
    }
  }
  const Candidate& w = candidates[winner];
  data[screen1] = std::uint8_t(w.i * 16 + w.j);
  data[screen2] = std::uint8_t(w.i * 16 + w.j);
  for (std::size_t n = 0; n < pixels.size(); ++n) {
    const Pixel& px = pixels[n];
    std::uint32_t& p = result[PixelIndex(px.x, px.y)];
    const std::uint32_t d1 = BankDistance(measure, values[n], w.c1);
    const std::uint32_t d2 = BankDistance(measure, values[n], w.c2);
    const std::uint32_t dm = BankDistance(measure, values[n], w.mix);
    const int bit = 0x80 >> (px.x % 8);
    enum { First, Second, Mix } chosen = First;
    std::uint32_t smallest = d1;
    if (d2 < d1) {
      chosen = Second;
      smallest = d2;
    }
    if (dm < smallest) {
      chosen = Mix;
    }
    if (chosen == First) {
      p = w.c1.colour;
      data[bitmap1 + px.bitmapOffset] += bit;
      data[bitmap2 + px.bitmapOffset] += bit;
    } else if (chosen == Second) {
      p = w.c2.colour;
    } else {
      p = w.mix.colour;
      data[bitmap1 + px.bitmapOffset] += bit;
    }
  }
}

}  // namespace

void SelectSingleBankHiresCell(Picture& result, const C64Palette& palette, Measure measure,
                               FlickerLevel level, C64Data& data, int cx, int cy)
{
  const int x = cx * 8, y = cy * 8;
  std::vector<Pixel> pixels;
  for (int k = 0; k < 8; ++k) {
    for (int r = 0; r < 8; ++r) {
      pixels.push_back({x + k, y + r, (y / 8) * 320 + x + r});
    }
  }
  const int screen = (y / 8) * 40 + x / 8;
  SelectSingleBankUnit(result, palette, measure, level, data, pixels,
                       HiresLayout::HiresScreen1.offset + screen,
                       HiresLayout::HiresScreen2.offset + screen, HiresLayout::HiresBitmap1.offset,
                       HiresLayout::HiresBitmap2.offset);
}

void SelectSingleBankFliSpan(Picture& result, const C64Palette& palette, Measure measure,
                             FlickerLevel level, C64Data& data, int cx, int y)
{
  const int x = cx * 8;
  std::vector<Pixel> pixels;
  for (int k = 0; k < 8; ++k) {
    pixels.push_back({x + k, y, (y / 8) * 320 + x + (y % 8)});
  }
  const int screen = (y % 8) * 1024 + (y / 8) * 40 + x / 8;
  SelectSingleBankUnit(result, palette, measure, level, data, pixels,
                       FliLayout::FliScreens1.offset + screen,
                       FliLayout::FliScreens2.offset + screen, FliLayout::FliBitmap1.offset,
                       FliLayout::FliBitmap2.offset);
}

}  // namespace pavona::plain_hires
