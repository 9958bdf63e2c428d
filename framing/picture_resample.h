#pragma once

#include "colour/picture.h"

namespace pavona {

// How a large reduction is done: straight through the filter, or (faster,
// and nearly the same) first averaging blocks of pixels in linear light and
// filtering what is left, which is still a reduction of at least 3 times.
enum class ResampleRoute { Direct, BoxFirst };

// Draws `picture` stretched to scaledWidth x scaledHeight frame pixels with
// its top-left corner at (left, top) of the frame. Only the frame pixels the
// scaled picture covers are written; the rest of the frame is left as it is.
// The picture is resampled in linear light, so that fine detail averages to
// the brightness the eye sees instead of darkening; reduced with the Mitchell
// filter, enlarged with Catmull-Rom.
void DrawResampledPicture(const LoadedPicture& picture, int scaledWidth, int scaledHeight, int left,
                          int top, Picture& frame, ResampleRoute route = ResampleRoute::BoxFirst);

}  // namespace pavona
