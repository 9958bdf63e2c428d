// Runs each C64 program file in the C64 model, as LOAD "...",8,1 and RUN
// would, and checks what its viewer does: where the picture ends up, the chip
// registers and vectors it sets, and the raster code of the viewers that
// change colours on every line.
//
// The raster positions expected below are those measured with VICE's monitor
// on its cycle-exact C64 (x64sc), where these viewers show the pictures
// without fault; the model times the video chip's bus use the same way. The
// multicolour viewers were run in the model only; the multicolour FLI viewer
// shares the hires FLI viewer's raster code and timing.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "c64/program_file.h"
#include "c64/scene_formats.h"
#include "c64_model.h"
#include "colour/palettes.h"
#include "support/multicolour_decoder.h"

namespace pavona::test {
namespace {

struct Kind {
  const char* name;
  OutputKind kind;
};

const Kind Kinds[] = {
    {"Hires Standard", {GraphicMode::HiresStandard, false, false}},
    {"Hires Interlaced, Same Col Banks", {GraphicMode::HiresInterlaced, true, false}},
    {"Hires Interlaced", {GraphicMode::HiresInterlaced, false, false}},
    {"Hires FLI", {GraphicMode::HiresFli, false, false}},
    {"Hires FLI Interlace, 4 cols per 8x1", {GraphicMode::HiresFliInterlace, false, false}},
    {"Hires FLI Interlace, Same Col Banks", {GraphicMode::HiresFliInterlace, true, false}},
    {"Hires FLI Interlace, one bitmap", {GraphicMode::HiresFliInterlace, false, true}},
    {"Multicolour", {GraphicMode::Multicolour, false, false}},
    {"Multicolour FLI", {GraphicMode::MulticolourFli, false, false}},
    {"Multicolour Interlace", {GraphicMode::MulticolourInterlace, false, false}},
};

// Distinct bytes everywhere, spare bytes included, so that any misplaced
// page or byte shows.
C64Data RandomData(unsigned seed)
{
  std::mt19937 random(seed);
  C64Data data{};
  for (auto& byte : data) {
    byte = std::uint8_t(random());
  }
  return data;
}

// Where the video chip must find each part of the picture: C64 address,
// C64Data offset and length (the bytes the video chip shows).
struct Placement {
  int address;
  int offset;
  int length;
};

std::vector<Placement> FinalPlaces(const OutputKind& kind)
{
  using namespace MulticolourLayout;
  std::vector<Placement> places;
  auto fliField = [&](int banks, int bitmap, int screensOffset, int bitmapOffset) {
    for (int r = 0; r < 8; ++r) {
      places.push_back({banks + r * 0x400, screensOffset + r * 0x400, 1000});
    }
    places.push_back({bitmap, bitmapOffset, 8000});
  };
  switch (kind.mode) {
    case GraphicMode::HiresStandard:
      return {{0x0400, 0x0000, 1000}, {0x2000, 0x0400, 8000}};
    case GraphicMode::HiresInterlaced:
      if (kind.sameBanks) {
        return {{0x0400, 0x0000, 1000},
                {0x2000, 0x0400, 8000},
                {0x4400, 0x2400, 1000},
                {0x6000, 0x2800, 8000}};
      }
      return {{0x5C00, 0x0000, 1000},
              {0x6000, 0x0400, 8000},
              {0xDC00, 0x2400, 1000},
              {0xE000, 0x2800, 8000}};
    case GraphicMode::HiresFli:
      fliField(0x4000, 0x6000, 0x0000, 0x2000);
      return places;
    case GraphicMode::HiresFliInterlace:
      fliField(0x4000, 0x6000, 0x0000, 0x2000);
      // With one bitmap the file holds field 1's: it is shown in both fields.
      fliField(0xC000, 0xE000, 0x4000, kind.sharedBitmap ? 0x2000 : 0x6000);
      return places;
    case GraphicMode::Multicolour:
      return {{0x0400, McScreen1.offset, 1000}, {0x2000, McBitmap1.offset, 8000}};
    case GraphicMode::MulticolourFli:
      fliField(0x4000, 0x6000, McFliScreens.offset, McBitmap1.offset);
      return places;
    case GraphicMode::MulticolourInterlace:
      return {{0x0400, McScreen1.offset, 1000},
              {0x2000, McBitmap1.offset, 8000},
              {0x4400, McScreen2.offset, 1000},
              {0x6000, McBitmap2.offset, 8000}};
  }
  return places;
}

// The viewers that switch colours on every raster line from an interrupt.
bool LineCodeViewer(const OutputKind& kind)
{
  switch (ViewerFor(kind)) {
    case ViewerHeader::HiresLineViewer:
    case ViewerHeader::FliViewer:
    case ViewerHeader::FliInterlaceViewer:
    case ViewerHeader::MulticolourFliViewer:
      return true;
    default:
      return false;
  }
}

// The viewers that flip between two pictures in a loop of their own, with no
// idle loop.
bool FlipViewer(const OutputKind& kind)
{
  const ViewerHeader viewer = ViewerFor(kind);
  return viewer == ViewerHeader::HiresFlipViewer ||
         viewer == ViewerHeader::MulticolourInterlaceViewer;
}

// A loaded and started program, run through its set-up (to the idle loop)
// and then `frames` more frames with tracing on.
struct ViewerRun {
  C64Model model;
  std::vector<std::uint8_t> file;
  std::uint16_t idle = 0;
  std::size_t crossingsInSetup = 0;  // page-crossing branches before the frames
};

// `stall` cycles of delay after the set-up shift the idle loop's phase
// against the raster, and with it the first interrupt's entry.
ViewerRun RunViewer(const OutputKind& kind, const C64Data& data, int frames, int stall = 0)
{
  constexpr int startLine = 0x120;
  constexpr int startCycle = 5;
  ViewerRun run{C64Model(startLine, startCycle), C64ProgramBytes(data, kind)};
  run.model.LoadProgram(run.file);
  run.model.Start(2062);
  if (FlipViewer(kind)) {
    run.model.RunCycles(600'000);  // no idle loop
  } else {
    run.idle = run.model.RunUntilIdle(2'000'000);
  }
  run.model.Stall(stall);
  run.crossingsInSetup = run.model.PageCrossingBranches().size();
  run.model.ClearIoWrites();
  run.model.Trace(true);
  run.model.RunCycles(std::uint64_t(frames) * CyclesPerFrame);
  // End below the picture, where every handler has finished.
  while (C64Model::LineOf(run.model.Position(run.model.Cycle())) != 0x100) {
    run.model.Step();
  }
  return run;
}

int LineOfWrite(const ViewerRun& run, const C64Model::IoWrite& write)
{
  return C64Model::LineOf(run.model.Position(write.cycle));
}
int CycleOfWrite(const ViewerRun& run, const C64Model::IoWrite& write)
{
  return C64Model::LineCycleOf(run.model.Position(write.cycle));
}

TEST(ViewerPrograms, PutThePictureInPlaceAndKeepIt)
{
  unsigned seed = 1;
  for (const Kind& k : Kinds) {
    SCOPED_TRACE(k.name);
    const C64Data data = RandomData(seed++);
    const ViewerRun run = RunViewer(k.kind, data, 2);
    EXPECT_EQ(run.model.RomReads(), 0) << "data read from a ROM instead of the RAM below it";
    for (const Placement& place : FinalPlaces(k.kind)) {
      int wrong = 0;
      for (int i = 0; i < place.length; ++i) {
        wrong += run.model.Ram(std::uint16_t(place.address + i)) != data[place.offset + i];
      }
      EXPECT_EQ(wrong, 0) << "bytes wrong at $" << std::hex << place.address;
    }
    if (IsMulticolour(k.kind.mode)) {
      // The colour RAM nibbles, and the background (black in multicolour FLI).
      using namespace MulticolourLayout;
      int wrong = 0;
      for (int i = 0; i < ScreenBytesUsed; ++i) {
        wrong += run.model.ColourRam(i) != (data[McColourRam.offset + i] & 0x0F);
      }
      EXPECT_EQ(wrong, 0) << "colour RAM nibbles wrong";
      const int background = k.kind.mode == GraphicMode::MulticolourFli ? 0 : data[McBackground];
      EXPECT_EQ(run.model.Vic(0x21) & 0x0F, background & 0x0F) << "background";
    }
  }
}

// The header holds nothing after the last byte the viewer uses.
TEST(ViewerPrograms, HeaderEndsInZeroBytes)
{
  for (const Kind& k : Kinds) {
    SCOPED_TRACE(k.name);
    const ViewerRun run = RunViewer(k.kind, RandomData(7), 2);
    const int headerEnd = 0x0800 + int(ViewerHeaderBytes(ViewerFor(k.kind)).size()) - 2;
    int lastUsed = 0x0800;
    for (int address = 0x0800; address < headerEnd; ++address) {
      if (run.model.WasRead(std::uint16_t(address))) {
        lastUsed = address;
      }
    }
    EXPECT_GT(lastUsed, 0x0821);
    for (int address = lastUsed + 1; address < headerEnd; ++address) {
      ASSERT_EQ(run.file[2 + address - 0x0800], 0) << "at $" << std::hex << address;
    }
  }
}

std::uint16_t Word(const C64Model& model, int address)
{
  return std::uint16_t(model.Ram(std::uint16_t(address)) |
                       (model.Ram(std::uint16_t(address + 1)) << 8));
}

// The five black sprites that cover the three leftmost cell columns: enabled,
// doubled in height, none doubled in width or multicoloured, in front of the
// picture, at X 24 and stacked from Y 49 in steps of 42 lines.
void ExpectSpriteColumn(const C64Model& model, int blackSprites)
{
  EXPECT_EQ(model.Vic(0x15), 0x1F);
  EXPECT_EQ(model.Vic(0x17), 0x1F);
  EXPECT_EQ(model.Vic(0x10), 0x00);
  EXPECT_EQ(model.Vic(0x1B), 0x00);
  EXPECT_EQ(model.Vic(0x1C), 0x00);
  EXPECT_EQ(model.Vic(0x1D), 0x00);
  const int y[5] = {49, 91, 133, 175, 217};
  for (int sprite = 0; sprite < 5; ++sprite) {
    EXPECT_EQ(model.Vic(2 * sprite), 24) << "sprite " << sprite;
    EXPECT_EQ(model.Vic(2 * sprite + 1), y[sprite]) << "sprite " << sprite;
  }
  for (int sprite = 0; sprite < blackSprites; ++sprite) {
    EXPECT_EQ(model.Vic(0x27 + sprite) & 0x0F, 0) << "sprite " << sprite;
  }
}

void ExpectBytes(const C64Model& model, int address, int count, std::uint8_t value)
{
  for (int i = 0; i < count; ++i) {
    ASSERT_EQ(model.Ram(std::uint16_t(address + i)), value) << "at $" << std::hex << address + i;
  }
}

// The set-up, up to the first interrupt: the processor port values in order
// and the chip registers written.
struct SetupRun {
  std::vector<int> ports;
  std::vector<C64Model::IoWrite> writes;
};

SetupRun RunSetup(const OutputKind& kind, const C64Data& data)
{
  C64Model model(0x120, 5);
  model.LoadProgram(C64ProgramBytes(data, kind));
  model.Start(2062);
  SetupRun setup;
  int last = model.ProcessorPort();
  while (model.InterruptEntries().empty() && model.Cycle() < 2'000'000) {
    model.Step();
    if (model.ProcessorPort() != last) {
      last = model.ProcessorPort();
      setup.ports.push_back(last);
    }
  }
  setup.writes = model.IoWrites();
  return setup;
}

int FirstWrite(const SetupRun& setup, int address)
{
  for (const auto& write : setup.writes) {
    if (write.address == address) {
      return write.value;
    }
  }
  return -1;
}

TEST(ViewerPrograms, RegistersVectorsAndSprites)
{
  const C64Data data = RandomData(3);
  for (const Kind& k : Kinds) {
    SCOPED_TRACE(k.name);
    const ViewerRun run = RunViewer(k.kind, data, 2);
    const C64Model& model = run.model;
    EXPECT_EQ(model.Vic(0x20) & 0x0F, 0) << "black border";
    const ViewerHeader viewer = ViewerFor(k.kind);

    const int columns = IsMulticolour(k.kind.mode) ? 0xD8 : 0xC8;  // 40, multicolour or not
    if (!LineCodeViewer(k.kind)) {
      EXPECT_EQ(model.Vic(0x11), 0x3B);
      EXPECT_EQ(model.Vic(0x18), 0x18);
      if (FlipViewer(k.kind)) {
        // Picture 2, in video bank 1, one hires pixel to the right.
        const bool picture2 =
            viewer == ViewerHeader::MulticolourInterlaceViewer && (model.Cia2(0x00) & 3) == 0x02;
        EXPECT_EQ(model.Vic(0x16), columns | (picture2 ? 1 : 0));
      } else {
        EXPECT_EQ(model.Vic(0x16), columns);
        EXPECT_EQ(model.Cia2(0x00), 0x03);
        EXPECT_EQ(model.Pc(), run.idle);
      }
      continue;
    }

    // The interrupt-driven viewers.
    const bool hiresLine = viewer == ViewerHeader::HiresLineViewer;
    const int rtiByte = hiresLine ? 0x0828 : viewer == ViewerHeader::FliViewer ? 0x0820 : 0x0822;
    EXPECT_EQ(model.ProcessorPort(), 0x05) << "I/O visible, RAM under the KERNAL";
    EXPECT_EQ(Word(model, 0xFFFA), rtiByte);
    EXPECT_EQ(Word(model, 0xFFFC), rtiByte);
    EXPECT_EQ(model.Ram(std::uint16_t(rtiByte)), 0x40);
    EXPECT_EQ(model.Cia1(0x0D), 0x7F);
    EXPECT_EQ(model.Cia2(0x0D), 0x7F);
    EXPECT_EQ(model.Vic(0x1A), 0x01);
    EXPECT_EQ(model.Vic(0x12), 0x26);
    EXPECT_EQ(model.Vic(0x11) & 0x80, 0) << "raster compare below line 256";
    EXPECT_EQ(model.Vic(0x11), 0x78) << "invalid mode below the picture";
    EXPECT_EQ(model.StackPointer() >= 0xF0, true) << "fresh stack, not growing";

    // Two frames: the first handler at line $26, the second at $27, each frame.
    const auto& entries = model.InterruptEntries();
    ASSERT_GE(entries.size(), 4u);
    for (std::size_t i = 0; i < entries.size(); ++i) {
      EXPECT_EQ(C64Model::LineOf(model.Position(entries[i])), i % 2 ? 0x27 : 0x26);
    }
    // The IRQ vector points at the first handler again after each frame.
    const auto handler =
        std::find_if(model.Executed().begin(), model.Executed().end(),
                     [&](const auto& step) { return step.cycle == entries[0] + 7; });
    ASSERT_NE(handler, model.Executed().end());
    EXPECT_EQ(Word(model, 0xFFFE), handler->pc);

    ExpectSpriteColumn(model, hiresLine ? 8 : 5);
    if (hiresLine) {
      EXPECT_EQ(model.Vic(0x18), 0x78);
      ExpectBytes(model, 0x5FF8, 8, 0x6F);
      ExpectBytes(model, 0xDFF8, 8, 0x6F);
      ExpectBytes(model, 0x5BC0, 64, 0xFF);
      ExpectBytes(model, 0xDBC0, 64, 0xFF);
      const SetupRun setup = RunSetup(k.kind, data);
      EXPECT_EQ(setup.ports, (std::vector<int>{0x31, 0x35, 0x05}));
      EXPECT_EQ(FirstWrite(setup, 0xD011), 0x00) << "display off during the set-up";
      EXPECT_EQ(FirstWrite(setup, 0xDD00), 0x03);
    } else {
      EXPECT_EQ(model.Vic(0x18), 0x58);
      EXPECT_EQ(model.Vic(0x16), columns) << "the line code leaves D016 alone";
      const bool interlace = viewer == ViewerHeader::FliInterlaceViewer;
      for (int bank = 0; bank < 8; ++bank) {
        ExpectBytes(model, 0x4000 + bank * 0x400 + 0x3F8, 5, 0xFE);
        if (interlace) {
          ExpectBytes(model, 0xC000 + bank * 0x400 + 0x3F8, 5, 0xFE);
        }
      }
      ExpectBytes(model, 0x7F80, 64, 0xFF);
      if (interlace) {
        ExpectBytes(model, 0xFF80, 64, 0xFF);
      }
      // The multicolour FLI viewer moves nothing under a ROM or the I/O.
      const std::vector<int> ports =
          k.kind.mode == GraphicMode::MulticolourFli
              ? std::vector<int>{0x05}
              : std::vector<int>{k.kind.sharedBitmap ? 0x31 : 0x33, 0x05};
      const SetupRun setup = RunSetup(k.kind, data);
      EXPECT_EQ(setup.ports, ports);
      EXPECT_EQ(FirstWrite(setup, 0xD011), 0x0B) << "display off during the set-up";
      EXPECT_EQ(FirstWrite(setup, 0xDD00), 0x02);
    }
  }
}

// The writes of one run of the raster handler: from one interrupt at line
// $26 to the next.
std::vector<std::vector<C64Model::IoWrite>> WritesPerFrame(const ViewerRun& run)
{
  std::vector<std::vector<C64Model::IoWrite>> frames;
  const auto& entries = run.model.InterruptEntries();
  for (std::size_t i = 0; i + 2 < entries.size(); i += 2) {
    std::vector<C64Model::IoWrite> writes;
    for (const auto& write : run.model.IoWrites()) {
      if (write.cycle >= entries[i] && write.cycle < entries[i + 2]) {
        writes.push_back(write);
      }
    }
    frames.push_back(writes);
  }
  return frames;
}

std::vector<C64Model::IoWrite> WritesTo(const std::vector<C64Model::IoWrite>& writes, int address)
{
  std::vector<C64Model::IoWrite> selected;
  for (const auto& write : writes) {
    if (write.address == address) {
      selected.push_back(write);
    }
  }
  return selected;
}

// Group k of the line code stores D011 with vertical scroll k mod 8, forcing
// a colour fetch on the raster line whose low three bits are k mod 8. Groups 0
// to 2 run through line $32 without a fetch until group 2's store on its cycle
// 54, after the last character fetch: the video chip starts displaying there
// without advancing its character counter. From group 3 on, every store lands
// on cycle 13 of its own line $30 + k: the chip has passed the point (cycle
// 13) where it would restart the cell's pixel rows, so the rows go on, and the
// colour fetch comes three characters late, under the sprite column.
void ExpectLineCodeTiming(const ViewerRun& run, const std::vector<C64Model::IoWrite>& d011,
                          int firstGroup)
{
  ASSERT_GE(d011.size(), std::size_t(firstGroup + 201));
  for (int k = 0; k < 200; ++k) {
    const auto& write = d011[firstGroup + k];
    SCOPED_TRACE("group " + std::to_string(k));
    EXPECT_EQ(write.value, 0x38 + k % 8);
    if (k < 3) {
      EXPECT_EQ(LineOfWrite(run, write), 0x32);
      EXPECT_EQ(CycleOfWrite(run, write), 18 + 18 * k);
    } else {
      EXPECT_EQ(LineOfWrite(run, write), 0x30 + k);
      EXPECT_EQ(CycleOfWrite(run, write), 13);
    }
  }
}

TEST(ViewerPrograms, FliLineCode)
{
  // Screen bank (g + 5) mod 8 for group g: with the picture's first pixel row
  // on line $33 (scroll 3), pixel row r is shown with bank r.
  const int bankOf[8] = {0x58, 0x68, 0x78, 0x08, 0x18, 0x28, 0x38, 0x48};
  for (const Kind& k : Kinds) {
    if (!HidesFirstColumns(k.kind.mode)) {
      continue;
    }
    SCOPED_TRACE(k.name);
    const ViewerRun run = RunViewer(k.kind, RandomData(11), 3);
    const auto frames = WritesPerFrame(run);
    ASSERT_GE(frames.size(), 2u);
    for (std::size_t f = 0; f < frames.size(); ++f) {
      SCOPED_TRACE("frame " + std::to_string(f));
      const auto d011 = WritesTo(frames[f], 0xD011);
      const auto d018 = WritesTo(frames[f], 0xD018);
      // The handler sets D011 = $3B first, then come 200 groups and the final one.
      ASSERT_EQ(d011.size(), 202u);
      ASSERT_EQ(d018.size(), 201u);
      EXPECT_EQ(d011[0].value, 0x3B);
      EXPECT_EQ(LineOfWrite(run, d011[0]), 0x28);
      ExpectLineCodeTiming(run, d011, 1);
      for (int group = 0; group < 200; ++group) {
        EXPECT_EQ(d018[group].value, bankOf[group % 8]) << group;
        // Each group stores D018 before D011.
        EXPECT_LT(d018[group].cycle, d011[1 + group].cycle);
      }
      EXPECT_EQ(d018[200].value, 0x58);
      EXPECT_EQ(d011[201].value, 0x78);
      EXPECT_EQ(LineOfWrite(run, d011[201]), 0xF8);
      // The video bank: fixed in FliViewer, alternating from field 1 (bank 1)
      // in FliInterlaceViewer; set before line $30.
      const auto dd00 = WritesTo(frames[f], 0xDD00);
      ASSERT_EQ(dd00.size(), 1u);
      EXPECT_LT(LineOfWrite(run, dd00[0]), 0x30);
      const int expected = !IsInterlaced(k.kind.mode) || f % 2 == 0 ? 0x02 : 0x00;
      EXPECT_EQ(dd00[0].value, expected);
    }
  }
}

TEST(ViewerPrograms, HiresLineCode)
{
  const OutputKind kind{GraphicMode::HiresInterlaced, false, false};
  const ViewerRun run = RunViewer(kind, RandomData(12), 3);
  const auto frames = WritesPerFrame(run);
  ASSERT_GE(frames.size(), 2u);
  for (std::size_t f = 0; f < frames.size(); ++f) {
    SCOPED_TRACE("frame " + std::to_string(f));
    const auto d011 = WritesTo(frames[f], 0xD011);
    const auto dd00 = WritesTo(frames[f], 0xDD00);
    // D011 = $3B, 200 groups, D011 = $78 after the line code.
    ASSERT_EQ(d011.size(), 202u);
    ASSERT_EQ(dd00.size(), 200u);
    EXPECT_EQ(d011[0].value, 0x3B);
    ExpectLineCodeTiming(run, d011, 1);
    EXPECT_EQ(d011[201].value, 0x78);
    // The bank changes on every line, before the colour fetch: field 1 (bank
    // 1, $02) on the even groups of the first frame, then the other way round.
    for (int group = 0; group < 200; ++group) {
      const bool field1 = (group % 2 == 0) == (f % 2 == 0);
      EXPECT_EQ(dd00[group].value, field1 ? 0x02 : 0x00) << group;
      EXPECT_EQ(LineOfWrite(run, dd00[group]), LineOfWrite(run, d011[1 + group])) << group;
      EXPECT_LT(dd00[group].cycle, d011[1 + group].cycle) << group;
    }
  }
}

TEST(ViewerPrograms, HiresFlipAlternatesTheBankOnceAFrame)
{
  const OutputKind kind{GraphicMode::HiresInterlaced, true, false};
  C64Model model(0x120, 5);
  model.LoadProgram(C64ProgramBytes(RandomData(13), kind));
  model.Start(2062);
  model.RunCycles(600'000 + 4 * CyclesPerFrame);
  const auto dd00 = WritesTo(model.IoWrites(), 0xDD00);
  ASSERT_GE(dd00.size(), 4u);
  // Set-up: bank 0, field 1; then a flip on line $FC of every frame.
  EXPECT_EQ(dd00[0].value & 3, 0x03);
  for (std::size_t i = 1; i < dd00.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(C64Model::LineOf(model.Position(dd00[i].cycle)), 0xFC);
    EXPECT_EQ(dd00[i].value & 3, i % 2 ? 0x02 : 0x03);
    if (i > 1) {
      // In the next frame.
      EXPECT_EQ(model.Position(dd00[i].cycle) / CyclesPerFrame,
                model.Position(dd00[i - 1].cycle) / CyclesPerFrame + 1);
    }
  }
}

// Picture 1 (video bank 0) with horizontal scroll 0 and picture 2 (bank 1)
// with scroll 1 take turns frame by frame. Bank and scroll change together on
// line $FC, below the picture, so no frame shows a picture with the other's
// scroll.
TEST(ViewerPrograms, MulticolourInterlaceFlipsBankAndScrollTogether)
{
  const OutputKind kind{GraphicMode::MulticolourInterlace, false, false};
  C64Model model(0x120, 5);
  model.LoadProgram(C64ProgramBytes(RandomData(14), kind));
  model.Start(2062);
  model.RunCycles(600'000 + 4 * CyclesPerFrame);
  const auto dd00 = WritesTo(model.IoWrites(), 0xDD00);
  const auto d016 = WritesTo(model.IoWrites(), 0xD016);
  ASSERT_GE(dd00.size(), 5u);
  ASSERT_EQ(d016.size(), dd00.size());
  EXPECT_EQ(dd00[0].value & 3, 0x03);
  EXPECT_EQ(d016[0].value, 0xD8);
  for (std::size_t i = 1; i < dd00.size(); ++i) {
    SCOPED_TRACE(i);
    const std::uint64_t bankAt = model.Position(dd00[i].cycle);
    const std::uint64_t scrollAt = model.Position(d016[i].cycle);
    EXPECT_EQ(C64Model::LineOf(bankAt), 0xFC);
    EXPECT_EQ(C64Model::LineOf(scrollAt), 0xFC);
    EXPECT_EQ(bankAt / CyclesPerFrame, scrollAt / CyclesPerFrame);
    const bool picture2 = i % 2 == 1;
    EXPECT_EQ(dd00[i].value & 3, picture2 ? 0x02 : 0x03);
    EXPECT_EQ(d016[i].value, picture2 ? 0xD9 : 0xD8);
    if (i > 1) {
      EXPECT_EQ(bankAt / CyclesPerFrame, model.Position(dd00[i - 1].cycle) / CyclesPerFrame + 1);
    }
  }
}

// The picture the video chip shows from the model's memory and registers in
// bitmap mode, with `d018Of(y)` the memory register on picture
// line y. Columns left of the horizontal scroll show the background.
template <typename D018Of>
std::unique_ptr<Picture> ShownMulticolour(const C64Model& model, const C64Palette& palette,
                                          D018Of d018Of)
{
  const int bank = (3 - (model.Cia2(0x00) & 3)) * 0x4000;
  const int scroll = model.Vic(0x16) & 7;
  const int background = model.Vic(0x21) & 0x0F;
  // Read as hires (1-bits the high nibble, 0-bits the low) when multicolour is off.
  const bool multicolour = (model.Vic(0x16) & 0x10) != 0;
  auto picture = std::make_unique<Picture>();
  for (int y = 0; y < PictureHeight; ++y) {
    const int d018 = d018Of(y);
    const int screen = bank + (d018 >> 4) * 0x400;
    const int bitmap = bank + (d018 & 0x08) * 0x400;
    for (int x = 0; x < PictureWidth; ++x) {
      int colour = background;
      if (x >= scroll) {
        const int cx = (x - scroll) / 8, cy = y / 8;
        const std::uint8_t byte = model.Ram(std::uint16_t(bitmap + BitmapOffset(cx, cy, y % 8)));
        const std::uint8_t colours = model.Ram(std::uint16_t(screen + ScreenOffset(cx, cy)));
        const int bits = multicolour ? MulticolourBits(byte, ((x - scroll) % 8) / 2)
                                     : 2 - ((byte >> (7 - (x - scroll) % 8)) & 1);
        switch (bits) {
          case 1:
            colour = colours >> 4;
            break;
          case 2:
            colour = colours & 0x0F;
            break;
          case 3:
            colour = model.ColourRam(ScreenOffset(cx, cy));
            break;
          default:
            break;
        }
      }
      (*picture)[std::size_t(PixelIndex(x, y))] = palette[std::size_t(colour)];
    }
  }
  return picture;
}

// Pixels that differ in rows 0 to rows - 1.
int DifferentPixels(const Picture& a, const Picture& b, int rows = PictureHeight)
{
  int different = 0;
  for (std::size_t i = 0; i < std::size_t(rows * PictureWidth); ++i) {
    different += a[i] != b[i];
  }
  return different;
}

// What the video chip shows once a viewer runs is what the editor file holds,
// as the test decoder reads it: every picture of the three multicolour modes.
TEST(ViewerPrograms, MulticolourViewersShowTheEditorFile)
{
  const C64Palette& palette = PaletteColours(PaletteId::Pepto);
  for (const Kind& k : Kinds) {
    if (!IsMulticolour(k.kind.mode)) {
      continue;
    }
    SCOPED_TRACE(k.name);
    const C64Data data = RandomData(21);
    const std::vector<std::uint8_t> file = SceneFileBytes(data, k.kind);
    ViewerRun run = RunViewer(k.kind, data, 2);
    const int d018 = run.model.Vic(0x18);
    switch (k.kind.mode) {
      case GraphicMode::Multicolour: {
        const auto shown = ShownMulticolour(run.model, palette, [&](int) { return d018; });
        EXPECT_EQ(DifferentPixels(*shown, testing::DecodeKoala(file, palette)), 0);
        break;
      }
      case GraphicMode::MulticolourFli: {
        // Picture line y is raster line $33 + y; the colour fetch there uses
        // the D018 value stored before the line code's D011 store on it.
        const auto writes = WritesTo(WritesPerFrame(run).at(0), 0xD018);
        auto d018Of = [&](int y) {
          int value = -1;
          for (const auto& write : writes) {
            const int line = LineOfWrite(run, write);
            if (line < 0x33 + y || (line == 0x33 + y && CycleOfWrite(run, write) < 13)) {
              value = write.value;
            }
          }
          return value;
        };
        auto shown = ShownMulticolour(run.model, palette, d018Of);
        // The black sprite column (checked above) covers the first 24 columns.
        for (int y = 0; y < PictureHeight; ++y) {
          std::fill_n(shown->begin() + PixelIndex(0, y), 24, palette[0]);
        }
        // The line code's 200 groups force fetches on raster lines $32 (three
        // groups, before the picture) to $F7: pixel rows 0 to 196. The final
        // group's invalid mode shows rows 197 to 199 black, as in the hires
        // FLI viewer (FliLineCode checks it).
        const int forcedRows =
            LineOfWrite(run, WritesTo(WritesPerFrame(run).at(0), 0xD011).at(200)) - 0x33 + 1;
        ASSERT_EQ(forcedRows, 197);
        EXPECT_EQ(DifferentPixels(*shown, testing::DecodeFliGraph(file, palette), forcedRows), 0);
        break;
      }
      case GraphicMode::MulticolourInterlace: {
        bool seen[2] = {false, false};
        for (int frame = 0; frame < 2; ++frame) {
          const int field = (run.model.Cia2(0x00) & 3) == 0x03 ? 1 : 2;
          SCOPED_TRACE("field " + std::to_string(field));
          seen[field - 1] = true;
          const auto shown = ShownMulticolour(run.model, palette, [&](int) { return d018; });
          EXPECT_EQ(DifferentPixels(*shown, testing::DecodeTruePaint(file, palette, field)), 0);
          run.model.RunCycles(CyclesPerFrame);
        }
        EXPECT_TRUE(seen[0] && seen[1]) << "both pictures shown";
        break;
      }
      default:
        break;
    }
  }
}

// Cycles of the instructions the line code and its lead-in are made of.
int CyclesOfInstruction(std::uint8_t opcode)
{
  switch (opcode) {
    case 0xEA:  // NOP
    case 0xA9:  // LDA #
    case 0xA2:  // LDX #
    case 0xA0:  // LDY #
      return 2;
    case 0x24:  // BIT zp
      return 3;
    case 0x8D:  // STA abs
    case 0x8E:  // STX abs
    case 0x8C:  // STY abs
      return 4;
    default:
      return 100;
  }
}

// Each group of the line code takes 18 cycles of its own (the video chip's
// fetches take the rest of the raster line), and the lead-in after the wait
// for line $31 has its fixed length: 25 NOPs in the FLI viewers, 58 cycles in
// HiresLineViewer, whose wait ends six cycles earlier and whose groups store
// D011 two cycles earlier.
TEST(ViewerPrograms, LineGroupsTake18CyclesOfTheirOwn)
{
  for (const Kind& k : Kinds) {
    if (!LineCodeViewer(k.kind)) {
      continue;
    }
    SCOPED_TRACE(k.name);
    const ViewerRun run = RunViewer(k.kind, RandomData(5), 1);
    const auto& trace = run.model.Executed();
    // The line code: JSR $0B00 ... RTS.
    const auto jsr = std::find_if(trace.begin(), trace.end(), [](const auto& step) {
      return step.opcode == 0x20 && step.pc > 0x0800 && step.pc < 0x0B00;
    });
    ASSERT_NE(jsr, trace.end());
    ASSERT_EQ((jsr + 1)->pc, 0x0B00);

    // The lead-in: from the branch that leaves the wait loop to the JSR.
    auto exit = jsr;
    while (exit != trace.begin() && exit->opcode != 0xD0) {
      --exit;
    }
    int leadIn = 0;
    int nops = 0;
    for (auto step = exit + 1; step != jsr; ++step) {
      leadIn += CyclesOfInstruction(step->opcode);
      nops += step->opcode == 0xEA;
    }
    if (k.kind.mode == GraphicMode::HiresInterlaced) {
      EXPECT_EQ(leadIn, 58);
    } else {
      EXPECT_EQ(nops, 25);
      EXPECT_EQ(leadIn, 50);
    }

    // Groups end with their NOPs; each is 18 cycles.
    int groups = 0;
    int cycles = 0;
    bool inPadding = false;
    for (auto step = jsr + 1; step->opcode != 0x60; ++step) {
      ASSERT_NE(step + 1, trace.end());
      if (inPadding && step->opcode != 0xEA) {
        EXPECT_EQ(cycles, 18) << "group " << groups;
        ++groups;
        cycles = 0;
      }
      inPadding = step->opcode == 0xEA;
      cycles += CyclesOfInstruction(step->opcode);
    }
    // The last group before RTS: 200 NOP-padded groups, then FLI's final
    // group of stores or nothing.
    if (inPadding) {
      EXPECT_EQ(cycles, 18);
      ++groups;
    }
    EXPECT_EQ(groups, 200);
  }
}

// The raster interrupt comes while the idle loop is in any of its cycles, so
// the first handler starts with up to two cycles of jitter and the second one
// with one; after the second handler's start the line code runs at the same
// cycle in every frame. Started at different phases, the viewers must give
// the same store positions, whatever the entry cycles.
TEST(ViewerPrograms, RasterStartIsStable)
{
  for (const Kind& k : Kinds) {
    if (!LineCodeViewer(k.kind) || k.kind.sharedBitmap || k.kind.sameBanks) {
      continue;
    }
    SCOPED_TRACE(k.name);
    std::vector<int> secondEntries;
    for (int stall = 0; stall < 3; ++stall) {
      SCOPED_TRACE("stall " + std::to_string(stall));
      const ViewerRun run = RunViewer(k.kind, RandomData(9), 2, stall);
      for (std::size_t i = 1; i < run.model.InterruptEntries().size(); i += 2) {
        secondEntries.push_back(
            C64Model::LineCycleOf(run.model.Position(run.model.InterruptEntries()[i])));
      }
      for (const auto& frame : WritesPerFrame(run)) {
        ExpectLineCodeTiming(run, WritesTo(frame, 0xD011), 1);
      }
      EXPECT_EQ(run.model.PageCrossingBranches().size(), run.crossingsInSetup)
          << "a taken branch in the raster handler crossed a page";
    }
    std::sort(secondEntries.begin(), secondEntries.end());
    secondEntries.erase(std::unique(secondEntries.begin(), secondEntries.end()),
                        secondEntries.end());
    EXPECT_EQ(secondEntries.size(), 2u) << "both entry cycles of the second interrupt met";
  }
}

}  // namespace
}  // namespace pavona::test
