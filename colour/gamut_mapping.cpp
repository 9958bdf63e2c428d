#include "colour/gamut_mapping.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace pavona {
namespace {

// D65 white of sRGB, Y = 1.
constexpr double WhiteX = 0.95047, WhiteZ = 1.08883;
// CIELAB's cube root turns into a straight line below (6/29)^3.
constexpr double LabEpsilon = 216.0 / 24389.0;
constexpr double LabKappa = 24389.0 / 27.0;
constexpr double TwoPi = 2 * std::numbers::pi;

double DecodeSrgb(int value)
{
  const double v = value / 255.0;
  return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double EncodeSrgb(double linear)
{
  linear = std::clamp(linear, 0.0, 1.0);
  return 255 * (linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055);
}

double LabF(double t)
{
  return t > LabEpsilon ? std::cbrt(t) : (LabKappa * t + 16) / 116;
}

double LabFInverse(double f)
{
  const double cube = f * f * f;
  return cube > LabEpsilon ? cube : (116 * f - 16) / LabKappa;
}

struct Point2 {
  double a;
  double b;
};

double Cross(const Point2& o, const Point2& p, const Point2& q)
{
  return (p.a - o.a) * (q.b - o.b) - (p.b - o.b) * (q.a - o.a);
}

// Andrew's monotone chain; the hull counter-clockwise, without repeated points.
std::vector<Point2> ConvexHull(std::vector<Point2> points)
{
  std::sort(points.begin(), points.end(), [](const Point2& p, const Point2& q) {
    return p.a < q.a || (p.a == q.a && p.b < q.b);
  });
  if (points.size() < 3) {
    return points;
  }
  std::vector<Point2> hull(2 * points.size());
  std::size_t k = 0;
  for (const Point2& p : points) {
    while (k >= 2 && Cross(hull[k - 2], hull[k - 1], p) <= 0) {
      --k;
    }
    hull[k++] = p;
  }
  const std::size_t lower = k + 1;
  for (std::size_t i = points.size() - 1; i-- > 0;) {
    while (k >= lower && Cross(hull[k - 2], hull[k - 1], points[i]) <= 0) {
      --k;
    }
    hull[k++] = points[i];
  }
  hull.resize(k - 1);
  return hull;
}

// How far the ray from grey in direction (cos, sin) runs inside the polygon:
// the farthest crossing with one of its edges, 0 when the ray misses it.
double RayReach(const std::vector<Point2>& hull, double cosHue, double sinHue)
{
  if (hull.size() == 1) {
    return 0;
  }
  double farthest = 0;
  for (std::size_t i = 0; i < hull.size(); ++i) {
    const Point2& p = hull[i];
    const Point2& q = hull[(i + 1) % hull.size()];
    const double ea = q.a - p.a, eb = q.b - p.b;
    // s (cos, sin) = p + u (q - p), solved by Cramer's rule.
    const double det = ea * sinHue - eb * cosHue;
    if (std::abs(det) < 1e-12) {
      continue;
    }
    const double s = (ea * p.b - eb * p.a) / det;
    const double u = (cosHue * p.b - sinHue * p.a) / det;
    if (u >= -1e-9 && u <= 1 + 1e-9 && s > farthest) {
      farthest = s;
    }
  }
  return farthest;
}

double BinLightness(int bin)
{
  return 100.0 * bin / (ReachLightnessBins - 1);
}

}  // namespace

Lab ColourToLab(std::uint32_t colour)
{
  const double r = DecodeSrgb(RedOf(colour)), g = DecodeSrgb(GreenOf(colour)),
               b = DecodeSrgb(BlueOf(colour));
  const double fx = LabF((0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / WhiteX);
  const double fy = LabF(0.2126729 * r + 0.7151522 * g + 0.0721750 * b);
  const double fz = LabF((0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / WhiteZ);
  return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

std::uint32_t LabToColour(const Lab& lab)
{
  const double fy = (lab.l + 16) / 116;
  const double x = WhiteX * LabFInverse(fy + lab.a / 500);
  const double y = LabFInverse(fy);
  const double z = WhiteZ * LabFInverse(fy - lab.b / 200);
  const auto channel = [](double linear) { return int(std::lround(EncodeSrgb(linear))); };
  return MakeColour(channel(3.2404542 * x - 1.5371385 * y - 0.4985314 * z),
                    channel(-0.9692660 * x + 1.8760108 * y + 0.0415560 * z),
                    channel(0.0556434 * x - 0.2040259 * y + 1.0572252 * z));
}

ReachTable BuildReachTable(const MixTable& table)
{
  std::vector<std::uint32_t> colours;
  for (int slot = 0; slot < MixColourCount; ++slot) {
    if (!IsRemovedMix(table, slot) &&
        std::find(colours.begin(), colours.end(), table.colour[slot]) == colours.end()) {
      colours.push_back(table.colour[slot]);
    }
  }
  std::vector<Lab> points;
  for (const std::uint32_t colour : colours) {
    points.push_back(ColourToLab(colour));
  }
  std::sort(points.begin(), points.end(), [](const Lab& p, const Lab& q) { return p.l < q.l; });

  ReachTable reach;
  reach.lowestLightness = float(points.front().l);
  reach.highestLightness = float(points.back().l);
  std::vector<Point2> slice;
  for (int bin = 0; bin < ReachLightnessBins; ++bin) {
    // The hull's cut at this lightness is the hull of where the segments
    // between its colours cross the lightness.
    const double lightness = BinLightness(bin);
    slice.clear();
    for (std::size_t i = 0; i < points.size(); ++i) {
      const Lab& p = points[i];
      if (p.l > lightness) {
        break;
      }
      if (p.l == lightness) {
        slice.push_back({p.a, p.b});
        continue;
      }
      for (std::size_t j = points.size(); j-- > i + 1 && points[j].l > lightness;) {
        const Lab& q = points[j];
        const double t = (lightness - p.l) / (q.l - p.l);
        slice.push_back({p.a + t * (q.a - p.a), p.b + t * (q.b - p.b)});
      }
    }
    if (slice.empty()) {
      continue;
    }
    const std::vector<Point2> hull = ConvexHull(slice);
    for (int hue = 0; hue < ReachHueBins; ++hue) {
      const double angle = TwoPi * hue / ReachHueBins;
      reach.chroma[bin * ReachHueBins + hue] =
          float(RayReach(hull, std::cos(angle), std::sin(angle)));
    }
  }
  return reach;
}

float ReachableChroma(const ReachTable& reach, float lightness, float hue)
{
  lightness = std::clamp(lightness, reach.lowestLightness, reach.highestLightness);
  const float l = lightness * (ReachLightnessBins - 1) / 100;
  const int l0 = std::min(int(l), ReachLightnessBins - 2);
  const float lt = l - l0;
  float h = hue * float(ReachHueBins / TwoPi);
  h -= ReachHueBins * std::floor(h / ReachHueBins);
  const int h0 = std::min(int(h), ReachHueBins - 1);
  const int h1 = h0 + 1 == ReachHueBins ? 0 : h0 + 1;
  const float ht = h - h0;
  const auto at = [&reach](int lb, int hb) { return reach.chroma[lb * ReachHueBins + hb]; };
  const float low = at(l0, h0) + ht * (at(l0, h1) - at(l0, h0));
  const float high = at(l0 + 1, h0) + ht * (at(l0 + 1, h1) - at(l0 + 1, h0));
  return low + lt * (high - low);
}

float CompressChroma(float chroma, float reach)
{
  const float knee = ReachKnee * reach;
  if (chroma <= knee) {
    return chroma;
  }
  // knee + room * t / (1 + t): slope 1 at the knee, so no crease in a
  // gradient, and never quite the edge, which the dither can only reach with
  // the edge colour alone.
  const float room = reach - knee;
  if (room <= 0) {
    return knee;  // nothing is reached in this direction
  }
  const float over = (chroma - knee) / room;
  return knee + room * over / (1 + over);
}

std::uint32_t MapColourIntoReach(const ReachTable& reach, std::uint32_t colour)
{
  const Lab lab = ColourToLab(colour);
  const double chroma = std::hypot(lab.a, lab.b);
  if (chroma == 0) {
    return colour;
  }
  const float limit = ReachableChroma(reach, float(lab.l), float(std::atan2(lab.b, lab.a)));
  const double mapped = CompressChroma(float(chroma), limit);
  if (mapped >= chroma) {
    return colour;
  }
  const double scale = mapped / chroma;
  return LabToColour({lab.l, lab.a * scale, lab.b * scale});
}

namespace {

// The conversions of the frame mapping as tables read with linear
// interpolation: the cube root and the sRGB curve cost more than everything
// else a pixel needs.
struct FastLabTables {
  static constexpr int CurveSteps = 4096;
  static constexpr float LabFLimit = 1.1f;  // X / Xn of sRGB's colours stays below 1.09
  std::array<float, 256> linear{};
  std::array<float, CurveSteps + 2> labF{};    // over 0..LabFLimit
  std::array<float, CurveSteps + 2> encode{};  // over linear 0..1, to 0..255

  FastLabTables()
  {
    for (int v = 0; v < 256; ++v) {
      linear[v] = float(DecodeSrgb(v));
    }
    for (int i = 0; i <= CurveSteps + 1; ++i) {
      labF[i] = float(LabF(double(LabFLimit) * i / CurveSteps));
      encode[i] = float(EncodeSrgb(double(i) / CurveSteps));
    }
  }

  static float Read(const std::array<float, CurveSteps + 2>& curve, float position)
  {
    const int i = int(position);
    return curve[i] + (position - float(i)) * (curve[i + 1] - curve[i]);
  }
  float F(float t) const
  {
    return Read(labF, std::clamp(t, 0.0f, LabFLimit) * (CurveSteps / LabFLimit));
  }
  int Encode(float value) const
  {
    return int(Read(encode, std::clamp(value, 0.0f, 1.0f) * CurveSteps) + 0.5f);
  }
};

float FInverse(float f)
{
  const float cube = f * f * f;
  return cube > float(LabEpsilon) ? cube : (116 * f - 16) / float(LabKappa);
}

// atan2 by a polynomial on the first octant, within 1e-5 radians: a hue bin
// is 0.087 radians wide.
float FastAtan2(float y, float x)
{
  const float ax = std::abs(x), ay = std::abs(y);
  const float z = std::min(ax, ay) / std::max(ax, ay);
  const float z2 = z * z;
  float angle = z * (0.9998660f +
                     z2 * (-0.3302995f + z2 * (0.1801410f + z2 * (-0.0851330f + z2 * 0.0208351f))));
  if (ay > ax) {
    angle = float(std::numbers::pi / 2) - angle;
  }
  if (x < 0) {
    angle = float(std::numbers::pi) - angle;
  }
  return y < 0 ? -angle : angle;
}

// ReachableChroma with the positions in bins already worked out.
inline float ReachAt(const ReachTable& reach, float lightnessBin, float hueBin)
{
  const int l0 = std::min(int(lightnessBin), ReachLightnessBins - 2);
  const float lt = lightnessBin - float(l0);
  const int h0 = std::min(int(hueBin), ReachHueBins - 1);
  const int h1 = h0 + 1 == ReachHueBins ? 0 : h0 + 1;
  const float ht = hueBin - float(h0);
  const float* low = &reach.chroma[l0 * ReachHueBins];
  const float* high = low + ReachHueBins;
  const float lowChroma = low[h0] + ht * (low[h1] - low[h0]);
  const float highChroma = high[h0] + ht * (high[h1] - high[h0]);
  return lowChroma + lt * (highChroma - lowChroma);
}

// The mapped colour of one pixel, or the colour itself.
std::uint32_t MapPixel(const FastLabTables& tables, const ReachTable& reach, std::uint32_t colour)
{
  constexpr float WhiteXInverse = float(1 / WhiteX), WhiteZInverse = float(1 / WhiteZ);
  constexpr float LightnessToBin = (ReachLightnessBins - 1) / 100.0f;
  constexpr float HueToBin = float(ReachHueBins / TwoPi);
  const float r = tables.linear[RedOf(colour)], g = tables.linear[GreenOf(colour)],
              b = tables.linear[BlueOf(colour)];
  const float fx = tables.F((0.4124564f * r + 0.3575761f * g + 0.1804375f * b) * WhiteXInverse);
  const float fy = tables.F(0.2126729f * r + 0.7151522f * g + 0.0721750f * b);
  const float fz = tables.F((0.0193339f * r + 0.1191920f * g + 0.9503041f * b) * WhiteZInverse);
  const float la = 500 * (fx - fy), lb = 200 * (fy - fz);
  const float chroma = std::sqrt(la * la + lb * lb);
  if (chroma < 1e-3f) {
    return colour;
  }
  const float lightness = std::clamp(116 * fy - 16, reach.lowestLightness, reach.highestLightness);
  float hue = FastAtan2(lb, la) * HueToBin;
  hue = hue < 0 ? hue + ReachHueBins : hue;
  const float mapped = CompressChroma(chroma, ReachAt(reach, lightness * LightnessToBin, hue));
  if (mapped >= chroma) {
    return colour;
  }
  const float scale = mapped / chroma;
  const float x = float(WhiteX) * FInverse(fy + la * scale * (1 / 500.0f));
  const float y = FInverse(fy);
  const float z = float(WhiteZ) * FInverse(fy - lb * scale * (1 / 200.0f));
  return MakeColour(tables.Encode(3.2404542f * x - 1.5371385f * y - 0.4985314f * z),
                    tables.Encode(-0.9692660f * x + 1.8760108f * y + 0.0415560f * z),
                    tables.Encode(0.0556434f * x - 0.2040259f * y + 1.0572252f * z));
}

const FastLabTables& Tables()
{
  static const FastLabTables tables;
  return tables;
}

}  // namespace

std::uint32_t MapColourIntoReachQuickly(const ReachTable& reach, std::uint32_t colour)
{
  return MapPixel(Tables(), reach, colour);
}

}  // namespace pavona
