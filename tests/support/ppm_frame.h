#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>

#include "colour/picture.h"

namespace pavona::testing {

// Reads one of the 320 x 200 photo frames kept under tests/data as binary
// PPM, so the Qt-free tests and benchmarks work on real photos.
inline Picture ReadPpmFrame(const std::string& name)
{
  const std::string path = std::string(PAVONA_TEST_DATA_DIR) + "/" + name;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    throw std::runtime_error("cannot open " + path);
  }
  int width = 0, height = 0, maximum = 0;
  const int fields = std::fscanf(file, "P6 %d %d %d", &width, &height, &maximum);
  std::fgetc(file);  // the single whitespace byte before the pixels
  Picture frame{};
  unsigned char rgb[3];
  bool complete = fields == 3 && width == PictureWidth && height == PictureHeight && maximum == 255;
  for (int i = 0; complete && i < PixelCount; ++i) {
    complete = std::fread(rgb, 1, 3, file) == 3;
    frame[i] = MakeColour(rgb[0], rgb[1], rgb[2]);
  }
  std::fclose(file);
  if (!complete) {
    throw std::runtime_error(path + " is not a 320 x 200 binary PPM frame");
  }
  return frame;
}

inline const char* const PhotoFrames[] = {"coffee_frame.ppm", "chelsea_frame.ppm",
                                          "rocket_frame.ppm"};

}  // namespace pavona::testing
