#include "c64/scene_formats.h"

#include <algorithm>

namespace pavona {
namespace {

// clang-format off
constexpr SceneFormatInfo Formats[] = {
    {"Art Studio",         ".art",  9009, 0x2000},
    {"Hireslace Editor",   ".hle", 32770, 0x4000},
    {"AFLI-editor 2.0",    ".afl", 16385, 0x4000},
    {"ECI Graphic Editor", ".eci", 32770, 0x4000},
    {"Koala Painter",      ".kla", 10003, 0x6000},
    {"FLI Graph",          ".fli", 17409, 0x3C00},
    {"True Paint",         ".mci", 19434, 0x9C00},
};
// clang-format on

// A scene file under construction, addressed as the C64 memory it loads into.
class SceneImage {
 public:
  SceneImage(const C64Data& data, const SceneFormatInfo& format)
      : data_(data), load_(format.loadAddress), bytes_(std::size_t(format.fileSize), 0)
  {
    bytes_[0] = std::uint8_t(load_ & 0xFF);
    bytes_[1] = std::uint8_t(load_ >> 8);
  }

  // The 8000 used bytes of a bitmap region.
  void PlaceBitmap(C64Region bitmap, int address)
  {
    Place(Region(data_, bitmap).first(BitmapBytesUsed), address);
  }

  // The 1000 used bytes of each 1 KB screen bank in the region, bank k at
  // address + k * 1024, so the spare tails between them stay the editor's.
  void PlaceScreens(C64Region screens, int address)
  {
    for (int bank = 0; bank < screens.size / ScreenBankSize; ++bank) {
      const C64Region screen{screens.offset + bank * ScreenBankSize, ScreenBankSize};
      Place(Region(data_, screen).first(ScreenBytesUsed), address + bank * ScreenBankSize);
    }
  }

  // The colour nibble of a one-byte colour, such as the background.
  void PlaceByte(int offset, int address)
  {
    bytes_[std::size_t(FileOffset(address))] = data_[std::size_t(offset)];
  }

  void Fill(int address, int count, std::uint8_t value)
  {
    const auto start = bytes_.begin() + FileOffset(address);
    std::fill(start, start + count, value);
  }

  std::vector<std::uint8_t> Take() { return std::move(bytes_); }

 private:
  int FileOffset(int address) const { return 2 + address - load_; }

  void Place(std::span<const std::uint8_t> block, int address)
  {
    std::copy(block.begin(), block.end(), bytes_.begin() + FileOffset(address));
  }

  const C64Data& data_;
  int load_;
  std::vector<std::uint8_t> bytes_;
};

// Bitmap at $2000, screen at $3F40, the border colour at $4328 (black).
void LayOutArtStudio(SceneImage& image)
{
  image.PlaceBitmap(HiresLayout::HiresBitmap1, 0x2000);
  image.PlaceScreens(HiresLayout::HiresScreen1, 0x3F40);
}

// Each field's bitmap and screen share one 16 KB video bank: field 1 in
// $4000-$7FFF, field 2 in $8000-$BFFF.
void LayOutHireslace(SceneImage& image)
{
  image.PlaceBitmap(HiresLayout::HiresBitmap1, 0x4000);
  image.PlaceScreens(HiresLayout::HiresScreen1, 0x6000);
  image.PlaceScreens(HiresLayout::HiresScreen2, 0x8000);
  image.PlaceBitmap(HiresLayout::HiresBitmap2, 0xA000);
}

// Eight screens at $4000-$5FFF, the bitmap at $6000. The editor hides the 24
// leftmost pixel columns, which FLI cannot colour, behind a solid sprite: its
// pointer $FE (so its data at $7F80 in the video bank) sits in the pointer
// bytes, the last eight, of every screen.
void LayOutAfli(SceneImage& image)
{
  constexpr int VideoBank = 0x4000;
  constexpr int SpritePointers = 0x3F8;  // within each screen, after its 1000 colours
  constexpr std::uint8_t SpritePointer = 0xFE;
  constexpr int SpriteBytes = 64;
  image.PlaceScreens(FliLayout::FliScreens1, VideoBank);
  image.PlaceBitmap(FliLayout::FliBitmap1, VideoBank + 0x2000);
  for (int bank = 0; bank < 8; ++bank) {
    image.Fill(VideoBank + bank * ScreenBankSize + SpritePointers, 8, SpritePointer);
  }
  image.Fill(VideoBank + SpritePointer * SpriteBytes, SpriteBytes, 0xFF);
}

// Each field's bitmap at the start of its 16 KB bank, its eight screens 8 KB
// further on.
void LayOutEci(SceneImage& image, bool sharedBitmap)
{
  using namespace FliLayout;
  image.PlaceBitmap(FliBitmap1, 0x4000);
  image.PlaceScreens(FliScreens1, 0x6000);
  image.PlaceBitmap(sharedBitmap ? FliBitmap1 : FliBitmap2, 0x8000);
  image.PlaceScreens(FliScreens2, 0xA000);
}

// Bitmap at $6000, screen at $7F40, colour RAM at $8328, background at $8710.
void LayOutKoala(SceneImage& image)
{
  using namespace MulticolourLayout;
  image.PlaceBitmap(McBitmap1, 0x6000);
  image.PlaceScreens(McScreen1, 0x7F40);
  image.PlaceScreens(McColourRam, 0x8328);
  image.PlaceByte(McBackground, 0x8710);
}

// Colour RAM at $3C00, the eight screens at $4000-$5FFF, the bitmap at
// $6000; the background is black.
void LayOutFliGraph(SceneImage& image)
{
  using namespace MulticolourLayout;
  image.PlaceScreens(McColourRam, 0x3C00);
  image.PlaceScreens(McFliScreens, 0x4000);
  image.PlaceBitmap(McBitmap1, 0x6000);
}

// Screen 1 at $9C00 with the background behind it at $9FE8, the bitmaps at
// $A000 and $C000, screen 2 at $E000, colour RAM at $E400.
void LayOutTruePaint(SceneImage& image)
{
  using namespace MulticolourLayout;
  image.PlaceScreens(McScreen1, 0x9C00);
  image.PlaceByte(McBackground, 0x9FE8);
  image.PlaceBitmap(McBitmap1, 0xA000);
  image.PlaceBitmap(McBitmap2, 0xC000);
  image.PlaceScreens(McScreen2, 0xE000);
  image.PlaceScreens(McColourRam, 0xE400);
}

}  // namespace

SceneFormat SceneFormatOf(GraphicMode mode)
{
  switch (mode) {
    case GraphicMode::HiresStandard:
      return SceneFormat::ArtStudio;
    case GraphicMode::HiresInterlaced:
      return SceneFormat::HireslaceEditor;
    case GraphicMode::HiresFli:
      return SceneFormat::AfliEditor;
    case GraphicMode::HiresFliInterlace:
      return SceneFormat::EciGraphicEditor;
    case GraphicMode::Multicolour:
      return SceneFormat::KoalaPainter;
    case GraphicMode::MulticolourFli:
      return SceneFormat::FliGraph;
    case GraphicMode::MulticolourInterlace:
      break;
  }
  return SceneFormat::TruePaint;
}

const SceneFormatInfo& SceneFormatInfoOf(SceneFormat format)
{
  return Formats[static_cast<int>(format)];
}

std::vector<std::uint8_t> SceneFileBytes(const C64Data& data, OutputKind kind)
{
  const SceneFormat format = SceneFormatOf(kind);
  SceneImage image(data, SceneFormatInfoOf(format));
  switch (format) {
    case SceneFormat::ArtStudio:
      LayOutArtStudio(image);
      break;
    case SceneFormat::HireslaceEditor:
      LayOutHireslace(image);
      break;
    case SceneFormat::AfliEditor:
      LayOutAfli(image);
      break;
    case SceneFormat::EciGraphicEditor:
      LayOutEci(image, kind.sharedBitmap);
      break;
    case SceneFormat::KoalaPainter:
      LayOutKoala(image);
      break;
    case SceneFormat::FliGraph:
      LayOutFliGraph(image);
      break;
    case SceneFormat::TruePaint:
      LayOutTruePaint(image);
      break;
  }
  return image.Take();
}

}  // namespace pavona
