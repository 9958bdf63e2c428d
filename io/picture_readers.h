#pragma once

#include <cstdint>
#include <cstdio>
#include <istream>
#include <string>

#include "colour/picture.h"
#include "io/picture_file.h"

// The readers behind ReadPictureFile, one for each kind of file. Each fills
// the picture and returns an empty string, or returns the reason it failed
// (without the file name, which the caller adds).
namespace pavona {

// Empty when a picture of width x height pixels may be loaded, otherwise the
// reason why not. Every reader asks before it allocates the picture.
std::string CheckPictureSize(long long width, long long height);

// Makes room for width x height black pixels.
void AllocatePicture(LoadedPicture& picture, int width, int height);

// The reason given for a file that stops before its picture does.
inline const char* const FileEndsEarly = "the file ends before the end of the picture";

// Decodes the JPEG file from its start with libjpeg.
std::string ReadJpeg(std::FILE* file, LoadedPicture& picture);

// Decodes a Windows bitmap of `size` bytes read from the start of `in`.
std::string ReadBitmap(std::istream& in, std::uint64_t size, LoadedPicture& picture);

// Decodes the PNG file from its start with libpng; its warnings go to
// `warnings` when there is one.
std::string ReadPng(std::FILE* file, LoadedPicture& picture, const PictureWarnings& warnings);

}  // namespace pavona
