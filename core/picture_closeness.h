#pragma once

#include "colour/picture.h"

namespace pavona {

// How close a converted picture looks to the photo from a viewing distance,
// in dB: both are blurred with a Gaussian of the given sigma (what the eye
// does to a dither and to two interlaced fields) and compared by PSNR over
// columns firstColumn..319 of every row. Higher is closer; identical pictures
// give 99. Unlike the count of pixels the C64's limits changed from the
// dither, it also rises when Refine moves pixels off the dither on purpose to
// bring the picture closer to the photo.
double BlurredPsnr(const Picture& photo, const Picture& picture, int firstColumn,
                   double sigma = 1.0);

}  // namespace pavona
