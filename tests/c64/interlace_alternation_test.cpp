#include "c64/interlace_alternation.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace pavona {
namespace {

C64Data RandomData(unsigned seed)
{
  std::mt19937 random(seed);
  C64Data data;
  for (auto& byte : data) {
    byte = std::uint8_t(random());
  }
  return data;
}

int FliScreen(int field, int bank, int cx, int cy)
{
  const C64Region screens = field == 1 ? FliLayout::FliScreens1 : FliLayout::FliScreens2;
  return screens.offset + bank * ScreenBankSize + ScreenOffset(cx, cy);
}

int Bitmap(C64Region bitmap, int cx, int cy, int r)
{
  return bitmap.offset + BitmapOffset(cx, cy, r);
}

// The offsets no step of a layout may write: the spare tails of its screens,
// banks and bitmaps, and for the hires layout everything past its regions.
std::vector<int> SpareOffsets(bool fli)
{
  std::vector<int> offsets;
  auto tail = [&](int offset, int used, int size) {
    for (int i = used; i < size; ++i) {
      offsets.push_back(offset + i);
    }
  };
  if (fli) {
    for (int bank = 0; bank < 8; ++bank) {
      tail(FliLayout::FliScreens1.offset + bank * ScreenBankSize, ScreenBytesUsed, ScreenBankSize);
      tail(FliLayout::FliScreens2.offset + bank * ScreenBankSize, ScreenBytesUsed, ScreenBankSize);
    }
    tail(FliLayout::FliBitmap1.offset, BitmapBytesUsed, BitmapSize);
    tail(FliLayout::FliBitmap2.offset, BitmapBytesUsed, BitmapSize);
    return offsets;
  }
  tail(HiresLayout::HiresScreen1.offset, ScreenBytesUsed, ScreenBankSize);
  tail(HiresLayout::HiresScreen2.offset, ScreenBytesUsed, ScreenBankSize);
  tail(HiresLayout::HiresBitmap1.offset, BitmapBytesUsed, BitmapSize);
  tail(HiresLayout::HiresBitmap2.offset, BitmapBytesUsed,
       C64DataSize - HiresLayout::HiresBitmap2.offset);
  return offsets;
}

TEST(InterlaceAlternation, EachStepUndoesItselfAndSparesTheTails)
{
  const std::tuple<const char*, bool, std::function<void(C64Data&)>> steps[] = {
      {"rows fli, shared bitmap", true,
       [](C64Data& d) { AlternateRowsFli(d, FieldBitmaps::Shared); }},
      {"rows fli, own bitmaps", true, [](C64Data& d) { AlternateRowsFli(d, FieldBitmaps::Own); }},
      {"cell columns, shared bitmap", true,
       [](C64Data& d) { AlternateCellColumnsFli(d, FieldBitmaps::Shared); }},
      {"cell columns, own bitmaps", true,
       [](C64Data& d) { AlternateCellColumnsFli(d, FieldBitmaps::Own); }},
      {"pixel columns fli", true, [](C64Data& d) { AlternatePixelColumnsFli(d); }},
      {"rows hires", false, [](C64Data& d) { AlternateRowsHires(d); }},
      {"pixel columns hires", false, [](C64Data& d) { AlternatePixelColumnsHires(d); }},
  };
  for (const auto& [name, fli, step] : steps) {
    SCOPED_TRACE(name);
    const std::vector<int> spare = SpareOffsets(fli);
    const C64Data original = RandomData(11);
    C64Data data = original;
    step(data);
    EXPECT_NE(data, original);
    for (int offset : spare) {
      ASSERT_EQ(data[offset], original[offset]) << offset;
    }
    step(data);
    EXPECT_EQ(data, original);
  }
}

TEST(InterlaceAlternation, PixelColumnsSwapOddBits)
{
  for (auto [name, bitmap1, bitmap2, step] :
       {std::tuple{"fli", FliLayout::FliBitmap1, FliLayout::FliBitmap2, &AlternatePixelColumnsFli},
        std::tuple{"hires", HiresLayout::HiresBitmap1, HiresLayout::HiresBitmap2,
                   &AlternatePixelColumnsHires}}) {
    SCOPED_TRACE(name);
    C64Data data{};
    const int last = BitmapBytesUsed - 1;
    data[bitmap1.offset] = 0xFF;
    data[bitmap2.offset] = 0x00;
    data[bitmap1.offset + last] = 0xF0;
    data[bitmap2.offset + last] = 0x3C;
    step(data);
    EXPECT_EQ(data[bitmap1.offset], 0xAA);
    EXPECT_EQ(data[bitmap2.offset], 0x55);
    // 0xF0 keeps its even bits 7, 5 (0xA0) and takes the odd bits 4, 2 of 0x3C.
    EXPECT_EQ(data[bitmap1.offset + last], 0xB4);
    EXPECT_EQ(data[bitmap2.offset + last], 0x78);
    data[bitmap1.offset] = data[bitmap2.offset] = 0;
    data[bitmap1.offset + last] = data[bitmap2.offset + last] = 0;
    EXPECT_EQ(data, C64Data{});  // nothing outside those four bytes moved
  }
}

TEST(InterlaceAlternation, WhatEachStepMoves)
{
  using namespace FliLayout;
  const C64Data original = RandomData(5);
  struct Probe {
    const char* name;
    int first, second;  // the same byte in field 1 and field 2
    bool rowsShared, rowsOwn, columnsShared, columnsOwn;
  };
  const Probe probes[] = {
      {"bank 0 column 0", FliScreen(1, 0, 0, 0), FliScreen(2, 0, 0, 0), true, true, true, true},
      {"bank 1 column 0", FliScreen(1, 1, 0, 3), FliScreen(2, 1, 0, 3), false, false, true, true},
      {"bank 6 column 38", FliScreen(1, 6, 38, 24), FliScreen(2, 6, 38, 24), true, true, true,
       true},
      {"bank 7 column 1", FliScreen(1, 7, 1, 9), FliScreen(2, 7, 1, 9), false, false, false, false},
      {"bank 2 column 39", FliScreen(1, 2, 39, 24), FliScreen(2, 2, 39, 24), true, true, false,
       false},
      {"bitmap row 0 column 0", Bitmap(FliBitmap1, 0, 0, 0), Bitmap(FliBitmap2, 0, 0, 0), false,
       true, false, true},
      {"bitmap row 4 column 3", Bitmap(FliBitmap1, 3, 12, 4), Bitmap(FliBitmap2, 3, 12, 4), false,
       true, false, false},
      {"bitmap row 7 column 2", Bitmap(FliBitmap1, 2, 24, 7), Bitmap(FliBitmap2, 2, 24, 7), false,
       false, false, true},
      {"bitmap row 1 column 39", Bitmap(FliBitmap1, 39, 5, 1), Bitmap(FliBitmap2, 39, 5, 1), false,
       false, false, false},
  };
  const std::tuple<const char*, std::function<void(C64Data&)>, bool Probe::*> steps[] = {
      {"rows, shared bitmap", [](C64Data& d) { AlternateRowsFli(d, FieldBitmaps::Shared); },
       &Probe::rowsShared},
      {"rows, own bitmaps", [](C64Data& d) { AlternateRowsFli(d, FieldBitmaps::Own); },
       &Probe::rowsOwn},
      {"cell columns, shared", [](C64Data& d) { AlternateCellColumnsFli(d, FieldBitmaps::Shared); },
       &Probe::columnsShared},
      {"cell columns, own", [](C64Data& d) { AlternateCellColumnsFli(d, FieldBitmaps::Own); },
       &Probe::columnsOwn},
  };
  for (const auto& [stepName, step, moves] : steps) {
    C64Data data = original;
    step(data);
    for (const Probe& probe : probes) {
      SCOPED_TRACE(std::string(stepName) + ": " + probe.name);
      const bool exchanged = probe.*moves;
      EXPECT_EQ(data[probe.first], exchanged ? original[probe.second] : original[probe.first]);
      EXPECT_EQ(data[probe.second], exchanged ? original[probe.first] : original[probe.second]);
    }
  }
}

TEST(InterlaceAlternation, OddCellColumnsStayEverywhere)
{
  using namespace FliLayout;
  const C64Data original = RandomData(3);
  C64Data data = original;
  AlternateCellColumnsFli(data, FieldBitmaps::Own);
  for (int cy = 0; cy < 25; ++cy) {
    for (int cx = 1; cx < 40; cx += 2) {
      for (int i = 0; i < 8; ++i) {
        for (int offset : {FliScreen(1, i, cx, cy), FliScreen(2, i, cx, cy),
                           Bitmap(FliBitmap1, cx, cy, i), Bitmap(FliBitmap2, cx, cy, i)}) {
          ASSERT_EQ(data[offset], original[offset]) << cx << "," << cy;
        }
      }
    }
  }
}

TEST(InterlaceAlternation, HiresRowsMoveOnlyEvenBitmapRows)
{
  using namespace HiresLayout;
  const C64Data original = RandomData(9);
  C64Data data = original;
  AlternateRowsHires(data);
  for (int cy = 0; cy < 25; ++cy) {
    for (int cx = 0; cx < 40; ++cx) {
      EXPECT_EQ(data[HiresScreen1.offset + ScreenOffset(cx, cy)],
                original[HiresScreen1.offset + ScreenOffset(cx, cy)]);
      for (int r = 0; r < 8; ++r) {
        const int first = Bitmap(HiresBitmap1, cx, cy, r);
        const int second = Bitmap(HiresBitmap2, cx, cy, r);
        const bool even = r % 2 == 0;
        ASSERT_EQ(data[first], original[even ? second : first]);
        ASSERT_EQ(data[second], original[even ? first : second]);
      }
    }
  }
}

}  // namespace
}  // namespace pavona
