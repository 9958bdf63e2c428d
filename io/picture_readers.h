#pragma once

#include <cstdint>
#include <cstdio>
#include <istream>
#include <string>
#include <vector>

#include "colour/picture.h"
#include "io/picture_file.h"

// The readers behind ReadPictureFile, one for each kind of file. Each fills
// the picture and returns an empty string, or returns the reason it failed
// (without the file name, which the caller adds).
namespace pavona {

// Empty when a picture of width x height pixels may be loaded, otherwise the
// reason why not. Every reader asks before it allocates the picture.
std::string CheckPictureSize(long long width, long long height);

// The memory a picture may take while it is loaded: the picture itself at 4
// bytes a pixel plus what the decoder holds beside it. Any file may use
// MemoryAnyFileMayUse; a larger file may use MemoryPerFileByte for each of
// its bytes. Real photos stay far below that ratio, so a small file that
// declares a huge picture is damaged or made to exhaust memory.
inline constexpr long long MemoryAnyFileMayUse = 200LL << 20;
inline constexpr long long MemoryPerFileByte = 1024;

// Empty when a picture of width x height pixels, with `decoderBytes` held by
// the decoder beside it, may be loaded from a file of `fileSize` bytes;
// otherwise the reason why not. `anyFileMayUse` replaces MemoryAnyFileMayUse
// only where a tighter rule of its own is wanted (the fuzzers).
std::string CheckPictureMemory(long long width, long long height, long long decoderBytes,
                               std::uint64_t fileSize,
                               long long anyFileMayUse = MemoryAnyFileMayUse);

// Makes room for width x height black pixels.
void AllocatePicture(LoadedPicture& picture, int width, int height);

// The reason given for a file that stops before its picture does.
inline const char* const FileEndsEarly = "the file ends before the end of the picture";

// The n of the n/8 size libjpeg decodes a JPEG at: the smallest at least as
// large as `needed` on both sides; the sides are the upright picture's.
int JpegEighthsFor(int fileWidth, int fileHeight, PictureSize needed);

// Decodes the JPEG file of `fileSize` bytes from its start with libjpeg,
// turned upright by its Exif orientation; at a reduced size when `needed`
// allows one. The damage it tolerates (the first few of libjpeg's warnings)
// goes to `warnings`. `memoryAnyFileMayUse` is the memory rule's floor (see
// CheckPictureMemory); only a fuzzer, to try more files a second, lowers it.
std::string ReadJpeg(std::FILE* file, std::uint64_t fileSize, const DecodeSizeNeeded& needed,
                     PictureFileResult& result,
                     long long memoryAnyFileMayUse = MemoryAnyFileMayUse);

// Decodes a Windows bitmap of `size` bytes read from the start of `in`. The
// damage it tolerates (a pixel data offset into the header, a colour table
// cut short by the pixels, all-zero colour masks, run-length codes past the
// picture's edge) goes to `warnings`.
std::string ReadBitmap(std::istream& in, std::uint64_t size, LoadedPicture& picture,
                       std::vector<std::string>& warnings);

// Decodes the PNG file from its start with libpng; the first few of libpng's
// warnings about damage it tolerates go to `warnings`. Where `needed` leaves
// room for it, a picture stored without interlacing is reduced by a whole
// factor while it is read, averaging blocks in linear light, so that a large
// photo shown small is never held whole.
std::string ReadPng(std::FILE* file, const DecodeSizeNeeded& needed, PictureFileResult& result);

}  // namespace pavona
