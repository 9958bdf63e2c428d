#pragma once

// The measures the quality benchmarks judge a converted picture by, each over
// the part of the frame the mode shows (the C64 never displays the rest):
// blurred PSNR for colour, SSIM on luma for structure, and the mean CIEDE2000
// for colour difference as the eye judges it.

#include <vector>

#include "colour/gamut_mapping.h"
#include "colour/picture.h"

namespace pavona::bench {

// CIEDE2000 (Sharma, Wu and Dalal 2005), kL = kC = kH = 1.
double Ciede2000(const Lab& p, const Lab& q);

// Rec. 601 luma of every pixel.
std::vector<double> LumaPlane(const Picture& picture);

// The plane blurred with a separable Gaussian of this sigma, radius
// ceil(3 sigma); the picture's edges repeat.
std::vector<double> GaussianBlur(const std::vector<double>& plane, double sigma);

// The picture blurred with a Gaussian in linear light, back as 8-bit sRGB.
Picture BlurredInLinearLight(const Picture& picture, double sigma);

// SSIM on luma with the usual 11 x 11 Gaussian window of sigma 1.5 and the
// constants of Wang et al. (K1 0.01, K2 0.03, L 255), the mean over `area`;
// with blurSigma > 0 both lumas are blurred first, as the eye blurs a dither.
double LumaSsim(const Picture& reference, const Picture& picture, FrameArea area,
                double blurSigma = 0);

// What the result does to the colours of the frame, both blurred with a
// Gaussian of sigma 1.5 in linear light and compared in CIELAB over `area`.
struct ColourErrors {
  double lightness = 0;          // mean L* of the result less that of the frame
  double absoluteLightness = 0;  // the mean of its size
  double ciede2000 = 0;          // mean CIEDE2000
};
ColourErrors MeasureColourErrors(const Picture& frame, const Picture& result, FrameArea area);

// The three figures the quality benchmarks print.
struct PictureMeasures {
  double psnr = 0;       // dB, both blurred sigma 1 (higher is closer)
  double ssim = 0;       // on luma, both blurred sigma 1 (higher is closer)
  double ciede2000 = 0;  // mean, blurred sigma 1.5 (lower is closer)
};
PictureMeasures MeasurePicture(const Picture& frame, const Picture& result, FrameArea area);

}  // namespace pavona::bench
