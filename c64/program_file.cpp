#include "c64/program_file.h"

#include "c64/raw_data_file.h"
#include "c64/viewer_header_bytes.h"

namespace pavona {

ViewerHeader ViewerFor(OutputKind kind)
{
  switch (kind.mode) {
    case GraphicMode::HiresStandard:
      return ViewerHeader::HiresViewer;
    case GraphicMode::HiresInterlaced:
      return kind.sameBanks ? ViewerHeader::HiresFlipViewer : ViewerHeader::HiresLineViewer;
    case GraphicMode::HiresFli:
      return ViewerHeader::FliViewer;
    case GraphicMode::HiresFliInterlace:
      return ViewerHeader::FliInterlaceViewer;
    case GraphicMode::Multicolour:
      return ViewerHeader::MulticolourViewer;
    case GraphicMode::MulticolourFli:
      return ViewerHeader::MulticolourFliViewer;
    case GraphicMode::MulticolourInterlace:
      break;
  }
  return ViewerHeader::MulticolourInterlaceViewer;
}

std::span<const std::uint8_t> ViewerHeaderBytes(ViewerHeader viewer)
{
  switch (viewer) {
    case ViewerHeader::HiresViewer:
      return viewer_bytes::HiresViewer;
    case ViewerHeader::HiresFlipViewer:
      return viewer_bytes::HiresFlipViewer;
    case ViewerHeader::HiresLineViewer:
      return viewer_bytes::HiresLineViewer;
    case ViewerHeader::FliViewer:
      return viewer_bytes::FliViewer;
    case ViewerHeader::FliInterlaceViewer:
      return viewer_bytes::FliInterlaceViewer;
    case ViewerHeader::MulticolourViewer:
      return viewer_bytes::McViewer;
    case ViewerHeader::MulticolourFliViewer:
      return viewer_bytes::McFliViewer;
    case ViewerHeader::MulticolourInterlaceViewer:
      break;
  }
  return viewer_bytes::McInterlaceViewer;
}

std::vector<std::uint8_t> C64ProgramBytes(const C64Data& data, OutputKind kind)
{
  const ViewerHeader viewer = ViewerFor(kind);
  const auto header = ViewerHeaderBytes(viewer);
  std::vector<std::uint8_t> bytes(header.begin(), header.end());
  if (viewer == ViewerHeader::FliInterlaceViewer) {
    bytes[SharedBitmapByteOffset] = kind.sharedBitmap ? 1 : 0;
  }
  const std::vector<std::uint8_t> picture = RawDataBytes(data, kind);
  bytes.insert(bytes.end(), picture.begin(), picture.end());
  return bytes;
}

}  // namespace pavona
