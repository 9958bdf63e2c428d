#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// jpeglib.h needs size_t and FILE declared first, jerror.h needs jpeglib.h.
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "colour/picture.h"
#include "io/exif_orientation.h"
#include "io/picture_readers.h"

namespace pavona {

namespace {

// Ordinary progressive files have about ten scans. Damaged or hostile files
// can claim thousands, each a pass over the whole picture, which would keep
// the program busy for hours; beyond this many the file is refused.
constexpr int MaxScans = 200;

// libjpeg's own error handler ends the program; this one jumps back to the
// decoder with the message. `manager` must come first: libjpeg hands the
// callbacks a pointer to it.
struct ErrorManager {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  std::vector<std::string>* warnings;
};

// Damaged data can draw a warning for every block; the first few say enough.
constexpr std::size_t MaxWarnings = 3;

// Which components the scans read so far covered, one bit each. `progress`
// must come first: libjpeg hands the monitor a pointer to it.
struct ScanWatch {
  jpeg_progress_mgr progress;
  unsigned scannedComponents;
};

ErrorManager& ErrorsOf(j_common_ptr info)
{
  return *reinterpret_cast<ErrorManager*>(info->err);
}

[[noreturn]] void FailWith(j_common_ptr info, const char* message)
{
  ErrorManager& errors = ErrorsOf(info);
  std::snprintf(errors.message, sizeof errors.message, "%s", message);
  std::longjmp(errors.jump, 1);
}

[[noreturn]] void ExitWithError(j_common_ptr info)
{
  char text[JMSG_LENGTH_MAX];
  info->err->format_message(info, text);
  char message[JMSG_LENGTH_MAX + 40];
  std::snprintf(message, sizeof message, "damaged or unsupported JPEG data (%s)", text);
  FailWith(info, message);
}

// Warnings about damaged data are tolerated (the picture shows the damage,
// as in any viewer) and handed to the caller instead of printed, except data
// that stops early, at the end of the file or at a marker
// in the middle of a scan: libjpeg would fill the rest of the picture with
// grey and the user would convert half a photo.
void EmitMessage(j_common_ptr info, int level)
{
  if (level >= 0) {
    return;  // trace messages
  }
  if (info->err->msg_code == JWRN_JPEG_EOF) {
    FailWith(info, FileEndsEarly);
  }
  if (info->err->msg_code == JWRN_HIT_MARKER) {
    FailWith(info, "damaged JPEG file (the picture data of a scan is cut short)");
  }
  ErrorManager& errors = ErrorsOf(info);
  if (errors.manager.num_warnings++ < long(MaxWarnings)) {
    char text[JMSG_LENGTH_MAX];
    info->err->format_message(info, text);
    errors.warnings->push_back(text);
  }
}

void NoteScanComponents(j_decompress_ptr info, ScanWatch& watch)
{
  for (int i = 0; i < info->comps_in_scan; ++i) {
    watch.scannedComponents |= 1u << (info->cur_comp_info[i]->component_index & 31);
  }
}

void WatchScans(j_common_ptr common)
{
  const auto info = reinterpret_cast<j_decompress_ptr>(common);
  if (info->input_scan_number > MaxScans) {
    char message[80];
    std::snprintf(message, sizeof message, "damaged JPEG data (more than %d scans)", MaxScans);
    FailWith(common, message);
  }
  NoteScanComponents(info, *reinterpret_cast<ScanWatch*>(info->progress));
}

// A file with several scans is decoded through a store of every coefficient
// of the picture (two bytes each, 64 per 8 x 8 block, blocks rounded up to
// whole sampling units); a single scan is decoded a few rows at a time.
long long CoefficientStoreBytes(j_decompress_ptr info)
{
  if (!jpeg_has_multiple_scans(info)) {
    return 0;
  }
  long long bytes = 0;
  for (int c = 0; c < info->num_components; ++c) {
    const jpeg_component_info& component = info->comp_info[c];
    const auto roundUp = [](long long value, long long unit) {
      return (value + unit - 1) / unit * unit;
    };
    bytes += roundUp(component.width_in_blocks, component.h_samp_factor) *
             roundUp(component.height_in_blocks, component.v_samp_factor) * DCTSIZE2 *
             long(sizeof(JCOEF));
  }
  return bytes;
}

bool EveryComponentScanned(j_decompress_ptr info, const ScanWatch& watch)
{
  const unsigned all = info->num_components >= 32 ? ~0u : (1u << info->num_components) - 1;
  return (watch.scannedComponents & all) == all;
}

std::uint32_t CmykToColour(const JSAMPLE* cmyk, bool inverted)
{
  // Adobe's files store 255 - ink for each of C, M, Y, K; with the ink
  // values, channel = (255 - ink) * (255 - black) / 255, rounded.
  int channels[3];
  const int black = inverted ? cmyk[3] : 255 - cmyk[3];
  for (int c = 0; c < 3; ++c) {
    const int paper = inverted ? cmyk[c] : 255 - cmyk[c];
    channels[c] = (paper * black + 127) / 255;
  }
  return MakeColour(channels[0], channels[1], channels[2]);
}

struct Decoder {
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  std::vector<std::string> warnings;
  ExifOrientation orientation = ExifOrientation::Upright;
  int eighths = 8;  // the n/8 size decoded
  long long memoryAnyFileMayUse = MemoryAnyFileMayUse;
  ~Decoder() { jpeg_destroy_decompress(&info); }
};

ExifOrientation OrientationOf(j_decompress_ptr info)
{
  for (jpeg_saved_marker_ptr marker = info->marker_list; marker != nullptr; marker = marker->next) {
    if (marker->marker == JPEG_APP0 + 1) {
      return OrientationOfExifBlock(marker->data, marker->data_length);
    }
  }
  return ExifOrientation::Upright;
}

// libjpeg can decode at n/8 of the size (n = 1..8) almost for free, by using
// fewer of each block's coefficients. `needed` is for the upright picture.
int ChooseDecodeScale(j_decompress_ptr info, ExifOrientation orientation,
                      const DecodeSizeNeeded& needed)
{
  if (!needed) {
    return 8;
  }
  const bool swaps = SwapsSides(orientation);
  const int width = int(swaps ? info->image_height : info->image_width);
  const int height = int(swaps ? info->image_width : info->image_height);
  const int eighths = JpegEighthsFor(width, height, needed(width, height));
  info->scale_num = unsigned(eighths);
  info->scale_denom = 8;
  return eighths;
}

// Decodes into `picture`, using `row` as scratch. On a libjpeg error it
// returns false with the reason in decoder.errors.message. longjmp lands in
// this frame, so it holds nothing that needs destroying; a bad_alloc from the
// vectors passes through as an ordinary exception.
bool Decode(Decoder& decoder, std::FILE* file, std::uint64_t fileSize,
            const DecodeSizeNeeded& needed, LoadedPicture& picture, std::vector<JSAMPLE>& row,
            std::string& sizeError)
{
  jpeg_decompress_struct& info = decoder.info;
  info.err = jpeg_std_error(&decoder.errors.manager);
  decoder.errors.warnings = &decoder.warnings;
  decoder.errors.manager.error_exit = ExitWithError;
  decoder.errors.manager.emit_message = EmitMessage;
  ScanWatch watch{};
  watch.progress.progress_monitor = WatchScans;
  if (setjmp(decoder.errors.jump) != 0) {
    return false;
  }
  jpeg_create_decompress(&info);
  info.progress = &watch.progress;
  jpeg_stdio_src(&info, file);
  jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);  // Exif, for the orientation
  jpeg_read_header(&info, TRUE);
  sizeError = CheckPictureSize(info.image_width, info.image_height);
  if (sizeError.empty()) {
    sizeError =
        CheckPictureMemory(info.image_width, info.image_height, CoefficientStoreBytes(&info),
                           fileSize, decoder.memoryAnyFileMayUse);
  }
  if (!sizeError.empty()) {
    return true;
  }
  NoteScanComponents(&info, watch);  // the first scan, read with the header
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;  // greyscale is spread to RGB too
  decoder.orientation = OrientationOf(&info);
  decoder.eighths = ChooseDecodeScale(&info, decoder.orientation, needed);
  jpeg_start_decompress(&info);
  // A file with several scans has been read to its end now. Components that
  // no scan covered would come out flat grey.
  if (!EveryComponentScanned(&info, watch)) {
    FailWith(reinterpret_cast<j_common_ptr>(&info),
             "damaged JPEG file (its scans leave colour components out)");
  }
  const int width = int(info.output_width);
  const int components = info.output_components;
  AllocatePicture(picture, width, int(info.output_height));
  picture.fileWidth = int(info.image_width);
  picture.fileHeight = int(info.image_height);
  row.resize(std::size_t(width) * std::size_t(components));
  while (info.output_scanline < info.output_height) {
    std::uint32_t* out = picture.pixels.data() + std::size_t(info.output_scanline) * width;
    JSAMPROW rows[1] = {row.data()};
    jpeg_read_scanlines(&info, rows, 1);
    for (int x = 0; x < width; ++x) {
      const JSAMPLE* sample = row.data() + x * components;
      out[x] = cmyk ? CmykToColour(sample, info.saw_Adobe_marker)
                    : MakeColour(sample[0], sample[1], sample[2]);
    }
  }
  jpeg_finish_decompress(&info);
  return true;
}

}  // namespace

int JpegEighthsFor(int fileWidth, int fileHeight, PictureSize needed)
{
  const auto scaled = [](long long side, int eighths) { return (side * eighths + 7) / 8; };
  int eighths = 1;
  while (eighths < 8 && (scaled(fileWidth, eighths) < needed.width ||
                         scaled(fileHeight, eighths) < needed.height)) {
    ++eighths;
  }
  return eighths;
}

std::string ReadJpeg(std::FILE* file, std::uint64_t fileSize, const DecodeSizeNeeded& needed,
                     PictureFileResult& result, long long memoryAnyFileMayUse)
{
  LoadedPicture& picture = result.picture;
  Decoder decoder;
  decoder.memoryAnyFileMayUse = memoryAnyFileMayUse;
  std::vector<JSAMPLE> row;
  std::string sizeError;
  if (!Decode(decoder, file, fileSize, needed, picture, row, sizeError)) {
    picture = LoadedPicture{};
    return decoder.errors.message;
  }
  result.warnings = std::move(decoder.warnings);
  result.reduction = {DecodeReduction::Kind::JpegEighths, decoder.eighths};
  if (sizeError.empty()) {
    TurnUpright(picture, decoder.orientation);
  }
  return sizeError;
}

}  // namespace pavona
