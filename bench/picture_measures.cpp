#include "picture_measures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/picture_closeness.h"

namespace pavona::bench {
namespace {

double Linear(int value)
{
  const double v = value / 255.0;
  return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

int Encoded(double linear)
{
  const double v = linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
  return int(std::lround(std::clamp(v, 0.0, 1.0) * 255));
}

// The window of SSIM as Wang et al. define it.
constexpr double SsimWindowSigma = 1.5;

}  // namespace

double Ciede2000(const Lab& p, const Lab& q)
{
  constexpr double Pi = std::numbers::pi;
  const auto degrees = [](double radians) { return radians * 180 / Pi; };
  const auto radians = [](double deg) { return deg * Pi / 180; };
  const double c1 = std::hypot(p.a, p.b), c2 = std::hypot(q.a, q.b);
  const double meanC7 = std::pow((c1 + c2) / 2, 7);
  const double g = 0.5 * (1 - std::sqrt(meanC7 / (meanC7 + std::pow(25.0, 7))));
  const double a1 = (1 + g) * p.a, a2 = (1 + g) * q.a;
  const double cp1 = std::hypot(a1, p.b), cp2 = std::hypot(a2, q.b);
  const auto hue = [&](double b, double a) {
    if (a == 0 && b == 0) {
      return 0.0;
    }
    const double h = degrees(std::atan2(b, a));
    return h < 0 ? h + 360 : h;
  };
  const double h1 = hue(p.b, a1), h2 = hue(q.b, a2);
  const double dL = q.l - p.l, dC = cp2 - cp1;
  double dh = 0;
  if (cp1 * cp2 != 0) {
    dh = h2 - h1;
    dh = dh > 180 ? dh - 360 : dh < -180 ? dh + 360 : dh;
  }
  const double dH = 2 * std::sqrt(cp1 * cp2) * std::sin(radians(dh / 2));
  const double meanL = (p.l + q.l) / 2, meanCp = (cp1 + cp2) / 2;
  double meanH = h1 + h2;
  if (cp1 * cp2 != 0) {
    meanH = std::abs(h1 - h2) <= 180 ? (h1 + h2) / 2
            : h1 + h2 < 360          ? (h1 + h2 + 360) / 2
                                     : (h1 + h2 - 360) / 2;
  }
  const double t = 1 - 0.17 * std::cos(radians(meanH - 30)) + 0.24 * std::cos(radians(2 * meanH)) +
                   0.32 * std::cos(radians(3 * meanH + 6)) -
                   0.20 * std::cos(radians(4 * meanH - 63));
  const double dTheta = 30 * std::exp(-std::pow((meanH - 275) / 25, 2));
  const double meanCp7 = std::pow(meanCp, 7);
  const double rc = 2 * std::sqrt(meanCp7 / (meanCp7 + std::pow(25.0, 7)));
  const double l50 = (meanL - 50) * (meanL - 50);
  const double sl = 1 + 0.015 * l50 / std::sqrt(20 + l50);
  const double sc = 1 + 0.045 * meanCp, sh = 1 + 0.015 * meanCp * t;
  const double rt = -std::sin(radians(2 * dTheta)) * rc;
  return std::sqrt((dL / sl) * (dL / sl) + (dC / sc) * (dC / sc) + (dH / sh) * (dH / sh) +
                   rt * (dC / sc) * (dH / sh));
}

std::vector<double> LumaPlane(const Picture& picture)
{
  std::vector<double> luma(PixelCount);
  for (int i = 0; i < PixelCount; ++i) {
    luma[i] = 0.299 * RedOf(picture[i]) + 0.587 * GreenOf(picture[i]) + 0.114 * BlueOf(picture[i]);
  }
  return luma;
}

std::vector<double> GaussianBlur(const std::vector<double>& plane, double sigma)
{
  const int radius = int(std::ceil(3 * sigma));
  std::vector<double> weights(2 * radius + 1);
  double sum = 0;
  for (int k = -radius; k <= radius; ++k) {
    weights[k + radius] = std::exp(-(k * k) / (2 * sigma * sigma));
    sum += weights[k + radius];
  }
  for (double& weight : weights) {
    weight /= sum;
  }
  auto pass = [&](const std::vector<double>& in, bool across) {
    std::vector<double> out(PixelCount);
    for (int y = 0; y < PictureHeight; ++y) {
      for (int x = 0; x < PictureWidth; ++x) {
        double total = 0;
        for (int k = -radius; k <= radius; ++k) {
          const int sx = across ? std::clamp(x + k, 0, PictureWidth - 1) : x;
          const int sy = across ? y : std::clamp(y + k, 0, PictureHeight - 1);
          total += weights[k + radius] * in[PixelIndex(sx, sy)];
        }
        out[PixelIndex(x, y)] = total;
      }
    }
    return out;
  };
  return pass(pass(plane, true), false);
}

Picture BlurredInLinearLight(const Picture& picture, double sigma)
{
  std::vector<double> planes[3];
  for (auto& plane : planes) {
    plane.resize(PixelCount);
  }
  for (int i = 0; i < PixelCount; ++i) {
    planes[0][i] = Linear(RedOf(picture[i]));
    planes[1][i] = Linear(GreenOf(picture[i]));
    planes[2][i] = Linear(BlueOf(picture[i]));
  }
  for (auto& plane : planes) {
    plane = GaussianBlur(plane, sigma);
  }
  Picture blurred;
  for (int i = 0; i < PixelCount; ++i) {
    blurred[i] = MakeColour(Encoded(planes[0][i]), Encoded(planes[1][i]), Encoded(planes[2][i]));
  }
  return blurred;
}

double LumaSsim(const Picture& reference, const Picture& picture, FrameArea area, double blurSigma)
{
  std::vector<double> a = LumaPlane(reference), b = LumaPlane(picture);
  if (blurSigma > 0) {
    a = GaussianBlur(a, blurSigma);
    b = GaussianBlur(b, blurSigma);
  }
  std::vector<double> aa(PixelCount), bb(PixelCount), ab(PixelCount);
  for (int i = 0; i < PixelCount; ++i) {
    aa[i] = a[i] * a[i];
    bb[i] = b[i] * b[i];
    ab[i] = a[i] * b[i];
  }
  const auto muA = GaussianBlur(a, SsimWindowSigma), muB = GaussianBlur(b, SsimWindowSigma);
  const auto eAA = GaussianBlur(aa, SsimWindowSigma), eBB = GaussianBlur(bb, SsimWindowSigma),
             eAB = GaussianBlur(ab, SsimWindowSigma);
  constexpr double C1 = (0.01 * 255) * (0.01 * 255), C2 = (0.03 * 255) * (0.03 * 255);
  double total = 0;
  int count = 0;
  for (int y = area.top; y < area.top + area.height; ++y) {
    for (int x = area.left; x < area.left + area.width; ++x) {
      const int i = PixelIndex(x, y);
      const double varA = eAA[i] - muA[i] * muA[i], varB = eBB[i] - muB[i] * muB[i];
      const double cov = eAB[i] - muA[i] * muB[i];
      total += ((2 * muA[i] * muB[i] + C1) * (2 * cov + C2)) /
               ((muA[i] * muA[i] + muB[i] * muB[i] + C1) * (varA + varB + C2));
      ++count;
    }
  }
  return total / count;
}

ColourErrors MeasureColourErrors(const Picture& frame, const Picture& result, FrameArea area)
{
  // A dither's dots mix as light does, so the blur works in linear light.
  constexpr double Sigma = 1.5;
  const Picture a = BlurredInLinearLight(frame, Sigma), b = BlurredInLinearLight(result, Sigma);
  ColourErrors errors;
  int count = 0;
  for (int y = area.top; y < area.top + area.height; ++y) {
    for (int x = area.left; x < area.left + area.width; ++x) {
      const Lab p = ColourToLab(a[PixelIndex(x, y)]), q = ColourToLab(b[PixelIndex(x, y)]);
      errors.lightness += q.l - p.l;
      errors.absoluteLightness += std::abs(q.l - p.l);
      errors.ciede2000 += Ciede2000(p, q);
      ++count;
    }
  }
  errors.lightness /= count;
  errors.absoluteLightness /= count;
  errors.ciede2000 /= count;
  return errors;
}

PictureMeasures MeasurePicture(const Picture& frame, const Picture& result, FrameArea area)
{
  // The closeness the program itself reports counts whole columns; the rows
  // a mode hides (a few at the bottom at most) weigh little in it.
  PictureMeasures measures;
  measures.psnr = BlurredPsnr(frame, result, area.left);
  measures.ssim = LumaSsim(frame, result, area, 1.0);
  measures.ciede2000 = MeasureColourErrors(frame, result, area).ciede2000;
  return measures;
}

}  // namespace pavona::bench
