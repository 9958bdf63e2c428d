// The fast searches against their plain transcriptions, on photo frames
// matched onto real tables and on pictures built to provoke ties, repeats,
// removed mixes, duplicate table colours and stray values.

#include <gtest/gtest.h>

#include <numeric>
#include <set>

#include "select/fli_colours.h"
#include "select/fli_extreme.h"
#include "select/fli_four_colours.h"
#include "select/fli_interlace_colours.h"
#include "select/plain_fli_searches.h"
#include "select/select_frames.h"
#include "select/slot_finder.h"
#include "support/recording_progress.h"

namespace pavona {
namespace {

using testing::MatchedFrame;
using testing::PeptoTable;
using testing::PhotoFrames;

constexpr Measure Measures[] = {Measure::RgbDistance, Measure::Brightness, Measure::Perceptual};

const char* NameOf(Measure measure)
{
  switch (measure) {
    case Measure::RgbDistance:
      return "rgb";
    case Measure::Brightness:
      return "brightness";
    case Measure::Perceptual:
      break;
  }
  return "perceptual";
}

// A palette with two pairs of equal colours, so the table holds duplicates
// that only the lowest slot may stand for.
C64Palette PaletteWithTwins()
{
  C64Palette palette = PaletteColours(PaletteId::Pepto);
  palette[11] = palette[12];
  palette[3] = palette[14];
  return palette;
}

// Pixel rows of the spans the two results must agree on: pixels, both
// bitmap bytes and both screen bytes.
void ExpectSameRows(const Picture& fast, const C64Data& fastData, const Picture& plain,
                    const C64Data& plainData, const std::vector<int>& rows)
{
  using namespace FliLayout;
  for (int y : rows) {
    for (int x = 0; x < PictureWidth; ++x) {
      ASSERT_EQ(fast[PixelIndex(x, y)], plain[PixelIndex(x, y)]) << "pixel " << x << "," << y;
    }
    for (int cx = 0; cx < 40; ++cx) {
      for (C64Region region : {FliBitmap1, FliBitmap2}) {
        const int at = region.offset + BitmapOffset(cx, y / 8, y % 8);
        ASSERT_EQ(fastData[at], plainData[at]) << "bitmap byte of span " << cx << "," << y;
      }
      for (C64Region region : {FliScreens1, FliScreens2}) {
        const int at = region.offset + (y % 8) * ScreenBankSize + ScreenOffset(cx, y / 8);
        ASSERT_EQ(fastData[at], plainData[at]) << "screen byte of span " << cx << "," << y;
      }
    }
  }
}

// The plain searches are slow: they are run on these cell rows only (the
// first holds the columns of mix 0, the last the bottom edge).
constexpr int SampleCellRows[] = {0, 9, 17, 24};

struct Case {
  std::string name;
  MixTable table;
  Picture picture;
  bool wholeFrame = false;  // compare every row, not only the samples
};

std::vector<int> CellRowsOf(const Case& c)
{
  if (!c.wholeFrame) {
    return {std::begin(SampleCellRows), std::end(SampleCellRows)};
  }
  std::vector<int> all(25);
  std::iota(all.begin(), all.end(), 0);
  return all;
}

std::vector<int> PixelRowsOf(const std::vector<int>& cellRows)
{
  std::vector<int> rows;
  for (int cy : cellRows) {
    for (int y = cy * 8; y < cy * 8 + 8; ++y) {
      rows.push_back(y);
    }
  }
  return rows;
}

// The pictures every two-colour-per-span search is checked on, for a table
// of `count` colours.
// `turn` numbers the first table among all the tables a test uses.
std::vector<Case> PicturesFor(GraphicMode mode, Measure measure,
                              const std::vector<std::pair<std::string, MixTable>>& tables,
                              std::size_t turn = 0)
{
  const int count = CandidateCount(mode);
  std::vector<Case> cases;
  for (std::size_t t = turn; t < turn + tables.size(); ++t) {
    const auto& [tableName, table] = tables[t - turn];
    // Every frame with the first table, one each (in turn) with the others.
    for (std::size_t f = 0; f < std::size(PhotoFrames); ++f) {
      if (t == 0 || f == (t + int(measure)) % std::size(PhotoFrames)) {
        const char* frame = PhotoFrames[f];
        cases.push_back(
            {tableName + " " + frame, table, MatchedFrame(frame, table, measure, mode)});
      }
    }
    auto colours = testing::TableColours(table, count);
    cases.push_back({tableName + " few colours", table, testing::FewColourSpans(colours, 1)});
    // Only three colours of close brightness: ties everywhere.
    cases.push_back({tableName + " three colours", table,
                     testing::FewColourSpans({colours[0], colours[count / 2], colours[1]}, 2)});
    Picture uniform;
    uniform.fill(table.colour[count - 1]);
    cases.push_back({tableName + " uniform", table, uniform});
  }
  return cases;
}

std::vector<std::pair<std::string, MixTable>> FliTables()
{
  return {
      {"pepto", PeptoTable(GraphicMode::HiresFli)},
      {"pepto yuv", testing::MixTableOf(PaletteColours(PaletteId::Pepto), MixMethod::Yuv,
                                        GraphicMode::HiresFli)},
      {"twins", testing::MixTableOf(PaletteWithTwins(), MixMethod::Rgb, GraphicMode::HiresFli)}};
}

std::vector<std::pair<std::string, MixTable>> InterlaceTables(Measure measure)
{
  const C64Palette& pepto = PaletteColours(PaletteId::Pepto);
  constexpr GraphicMode Mode = GraphicMode::HiresFliInterlace;
  MixTable luma = testing::MixTableOf(pepto, MixMethod::Rgb, Mode, FlickerLevel::Medium);
  if (measure == Measure::Brightness) {
    ReduceFlickerForLuma(luma);
  }
  return {{"pepto medium", luma},
          {"pepto heavy", testing::MixTableOf(pepto, MixMethod::Rgb, Mode, FlickerLevel::Heavy)},
          {"pepto yuv off", testing::MixTableOf(pepto, MixMethod::Yuv, Mode)},
          {"twins light",
           testing::MixTableOf(PaletteWithTwins(), MixMethod::Rgb, Mode, FlickerLevel::Light)}};
}

TEST(FastMatchesPlain, SlotFinderFindsTheLowestSlot)
{
  for (const auto& [name, table] : InterlaceTables(Measure::Perceptual)) {
    SCOPED_TRACE(name);
    for (int count : {16, MixColourCount}) {
      const SlotFinder finder(table, count);
      for (int slot = 0; slot < MixSlotCount; ++slot) {
        ASSERT_EQ(finder.Find(table.colour[slot]), FindMixIndex(table, table.colour[slot], count));
      }
      for (std::uint32_t stray : {0x123456u, 0xFFFFFFFFu, 0x00FFFFFEu}) {
        EXPECT_EQ(finder.Find(stray), FindMixIndex(table, stray, count));
      }
    }
  }
}

TEST(FastMatchesPlain, FliColours)
{
  for (Measure measure : Measures) {
    auto cases = PicturesFor(GraphicMode::HiresFli, measure, FliTables());
    // Two values no slot holds, among table colours.
    auto withStrays = testing::TableColours(cases[0].table, 16);
    withStrays.push_back(0x010203);
    withStrays.push_back(0xFEDCBA);
    cases.push_back({"strays", cases[0].table, testing::FewColourSpans(withStrays, 3), true});
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name + " " + NameOf(measure));
      Picture fast = c.picture, plain = c.picture;
      C64Data fastData{}, plainData{};
      testing::RecordingProgress progress;
      std::vector<std::uint32_t> plainStrays;
      SelectFliColours(fast, c.table, measure, fastData, progress);
      for (int cy : CellRowsOf(c)) {
        testing::PlainSelectFliColours(plain, c.table, measure, plainData, plainStrays, cy, 1);
      }
      ExpectSameRows(fast, fastData, plain, plainData, PixelRowsOf(CellRowsOf(c)));
      // The last value reported is the one the plain search met last.
      ASSERT_EQ(progress.strayColours.empty(), plainStrays.empty());
      if (!plainStrays.empty()) {
        EXPECT_EQ(progress.strayColours.back(), plainStrays.back());
        EXPECT_EQ(std::set(progress.strayColours.begin(), progress.strayColours.end()),
                  std::set(plainStrays.begin(), plainStrays.end()));
      }
    }
  }
}

TEST(FastMatchesPlain, FliInterlaceColours)
{
  for (Measure measure : Measures) {
    auto cases = PicturesFor(GraphicMode::HiresFliInterlace, measure, InterlaceTables(measure));
    auto withStrays = testing::TableColours(cases[0].table, MixColourCount);
    withStrays.push_back(0x010203);
    cases.push_back({"strays", cases[0].table, testing::FewColourSpans(withStrays, 4)});
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name + " " + NameOf(measure));
      Picture fast = c.picture, plain = c.picture;
      SilentProgress progress;
      SelectFliInterlaceColours(fast, c.table, measure, progress);
      for (int cy : CellRowsOf(c)) {
        testing::PlainSelectFliInterlaceColours(plain, measure, cy * 8, 8);
      }
      ExpectSameRows(fast, C64Data{}, plain, C64Data{}, PixelRowsOf(CellRowsOf(c)));
    }
  }
}

TEST(FastMatchesPlain, FliFourColours)
{
  const C64Palette& pepto = PaletteColours(PaletteId::Pepto);
  for (Measure measure : Measures) {
    // The table the picture was matched with, and the level the run puts
    // back in force before the search; "Off" after the luma reduction restores the luma mixes.
    struct Setting {
      std::string name;
      C64Palette palette;
      MixMethod method;
      FlickerLevel flicker;
      bool lumaReduced;
    };
    const Setting settings[] = {
        {"medium", pepto, MixMethod::Rgb, FlickerLevel::Medium, measure == Measure::Brightness},
        {"off after luma", pepto, MixMethod::Rgb, FlickerLevel::Off, true},
        {"heavy", pepto, MixMethod::Rgb, FlickerLevel::Heavy, false},
        {"yuv off", pepto, MixMethod::Yuv, FlickerLevel::Off, false},
        {"twins light", PaletteWithTwins(), MixMethod::Rgb, FlickerLevel::Light, false},
    };
    for (std::size_t turn = 0; turn < std::size(settings); ++turn) {
      const Setting& setting = settings[turn];
      constexpr GraphicMode Mode = GraphicMode::HiresFliInterlace;
      MixTable table = testing::MixTableOf(setting.palette, setting.method, Mode, setting.flicker);
      if (setting.lumaReduced) {
        ReduceFlickerForLuma(table);
      }
      auto cases = PicturesFor(Mode, measure, {{setting.name, table}}, turn);
      auto withStrays = testing::TableColours(table, MixColourCount);
      withStrays.push_back(0x010203);
      withStrays.push_back(0x7F0001);
      cases.push_back(
          {setting.name + " strays", table, testing::FewColourSpans(withStrays, 5), true});
      for (const Case& c : cases) {
        SCOPED_TRACE(c.name + " " + NameOf(measure));
        Picture fast = c.picture, plain = c.picture;
        MixTable fastTable = c.table, plainTable = c.table;
        C64Data fastData{}, plainData{};
        testing::RecordingProgress progress;
        std::vector<std::uint32_t> plainStrays;
        ReapplyFlickerLevel(fastTable, setting.palette, setting.method, Mode, setting.flicker);
        testing::PlainReapplyFlickerLevel(plainTable, setting.palette, setting.method, Mode,
                                          setting.flicker);
        ASSERT_EQ(fastTable, plainTable);
        SelectFliFourColours(fast, fastTable, measure, fastData, progress);
        for (int cy : CellRowsOf(c)) {
          testing::PlainSelectFliFourColours(plain, plainTable, measure, plainData, plainStrays, cy,
                                             1);
        }
        ExpectSameRows(fast, fastData, plain, plainData, PixelRowsOf(CellRowsOf(c)));
        ASSERT_EQ(progress.strayColours.empty(), plainStrays.empty());
        if (!plainStrays.empty()) {
          EXPECT_EQ(progress.strayColours.back(), plainStrays.back());
        }
      }
    }
  }
}

// One pixel row of every cell row, each at another row of its cell.
std::vector<int> SampleRows(int step)
{
  std::vector<int> rows;
  for (int cy = 0; cy < 25; cy += step) {
    rows.push_back(cy * 8 + cy % 8);
  }
  return rows;
}

TEST(FastMatchesPlain, FliColoursExtreme)
{
  const std::vector<int> rows = SampleRows(3);
  for (Measure measure : Measures) {
    auto cases = PicturesFor(GraphicMode::HiresFli, measure, FliTables());
    auto withStrays = testing::TableColours(cases[0].table, 16);
    withStrays.push_back(0x010203);
    cases.push_back({"strays", cases[0].table, testing::FewColourSpans(withStrays, 6)});
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name + " " + NameOf(measure));
      Picture fast = c.picture, plain = c.picture;
      C64Data fastData{}, plainData{};
      SilentProgress progress;
      SelectFliColoursExtreme(fast, c.table, measure, fastData, progress);
      for (int y : rows) {
        testing::PlainSelectFliColoursExtreme(plain, c.table, measure, plainData, y, 1);
      }
      ExpectSameRows(fast, fastData, plain, plainData, rows);
    }
  }
}

TEST(FastMatchesPlain, FliFourColoursExtreme)
{
  // The plain search takes a tenth of a second or so a frame row: five rows a
  // picture, enough spans for the fast search's pruning to meet ties.
  const std::vector<int> rows = {0, 37, 101, 150, 198};
  const C64Palette& pepto = PaletteColours(PaletteId::Pepto);
  constexpr GraphicMode Mode = GraphicMode::HiresFliInterlace;
  std::vector<Case> cases;
  const MixTable medium = testing::MixTableOf(pepto, MixMethod::Rgb, Mode, FlickerLevel::Medium);
  const MixTable off = testing::MixTableOf(pepto, MixMethod::Rgb, Mode);
  for (const char* frame : PhotoFrames) {
    cases.push_back({std::string("medium ") + frame, medium,
                     MatchedFrame(frame, medium, Measure::Perceptual, Mode)});
  }
  cases.push_back(
      {"off coffee", off, MatchedFrame(PhotoFrames[0], off, Measure::RgbDistance, Mode)});
  const MixTable heavyTwins =
      testing::MixTableOf(PaletteWithTwins(), MixMethod::Yuv, Mode, FlickerLevel::Heavy);
  auto colours = testing::TableColours(heavyTwins, MixColourCount);
  colours.push_back(0x010203);
  // Every colour of the unreduced table: the removed ones are strays now.
  for (std::uint32_t colour : testing::TableColours(off, MixColourCount)) {
    colours.push_back(colour);
  }
  cases.push_back({"heavy yuv twins", heavyTwins, testing::FewColourSpans(colours, 7)});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Picture fast = c.picture, plain = c.picture;
    C64Data fastData{}, plainData{};
    SilentProgress progress;
    SelectFliFourColoursExtreme(fast, c.table, fastData, progress);
    for (int y : rows) {
      testing::PlainSelectFliFourColoursExtreme(plain, c.table, plainData, y, 1);
    }
    ExpectSameRows(fast, fastData, plain, plainData, rows);
  }
}

}  // namespace
}  // namespace pavona
