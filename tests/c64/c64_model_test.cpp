// Checks of the C64 model itself, against the 6502's documented cycle counts
// and the video chip's documented timing: the viewer tests rely on both.

#include "c64_model.h"

#include <gtest/gtest.h>

#include <vector>

namespace pavona::test {
namespace {

// Runs `code` at $1000 (with the model's raster far from any bad line or
// sprite) and returns the cycles of its first instruction.
int CyclesOf(std::vector<std::uint8_t> code, std::uint8_t x = 0, std::uint8_t y = 0)
{
  C64Model model(0, 0);
  std::vector<std::uint8_t> file = {0x00, 0x10, 0xA2, x, 0xA0, y};
  file.insert(file.end(), code.begin(), code.end());
  model.LoadProgram(file);
  model.Start(0x1000);
  model.Step();  // interrupts are enabled, but CIA 1's first underflow is far away
  model.Step();
  const std::uint64_t before = model.Cycle();
  model.Step();
  return int(model.Cycle() - before);
}

TEST(C64Model, InstructionCycles)
{
  struct Case {
    const char* name;
    std::vector<std::uint8_t> code;
    std::uint8_t x, y;
    int cycles;
  };
  const Case cases[] = {
      {"NOP", {0xEA}, 0, 0, 2},
      {"LDA #", {0xA9, 0x01}, 0, 0, 2},
      {"LDA zp", {0xA5, 0x10}, 0, 0, 3},
      {"LDA abs", {0xAD, 0x00, 0x20}, 0, 0, 4},
      {"LDA abs,X same page", {0xBD, 0x00, 0x20}, 0xFF, 0, 4},
      {"LDA abs,X page crossed", {0xBD, 0x01, 0x20}, 0xFF, 0, 5},
      {"LDA (zp),Y page crossed", {0xB1, 0x10}, 0, 0xFF, 6},
      {"STA abs", {0x8D, 0x00, 0x20}, 0, 0, 4},
      {"STA abs,X always 5", {0x9D, 0x00, 0x20}, 0, 0, 5},
      {"STA (zp),Y always 6", {0x91, 0x10}, 0, 0, 6},
      {"STA zp", {0x85, 0x10}, 0, 0, 3},
      {"BIT zp", {0x24, 0x10}, 0, 0, 3},
      {"INC abs", {0xEE, 0x00, 0x20}, 0, 0, 6},
      {"ASL abs,X", {0x1E, 0x00, 0x20}, 0, 0, 7},
      {"JMP abs", {0x4C, 0x00, 0x20}, 0, 0, 3},
      {"JSR", {0x20, 0x00, 0x20}, 0, 0, 6},
      {"PHA", {0x48}, 0, 0, 3},
      {"PLA", {0x68}, 0, 0, 4},
      {"BNE not taken", {0xD0, 0x02}, 0, 0, 2},  // Z set by LDY #0
      {"BEQ taken", {0xF0, 0x02}, 0, 0, 3},      // same page
      {"BEQ taken, page crossed", {0xF0, 0x80}, 0, 0, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CyclesOf(c.code, c.x, c.y), c.cycles);
  }
}

// A model with `code` at $1000, started there.
C64Model Running(std::vector<std::uint8_t> code, int line = 0, int lineCycle = 0)
{
  C64Model model(line, lineCycle);
  code.insert(code.begin(), {0x00, 0x10});
  model.LoadProgram(code);
  model.Start(0x1000);
  return model;
}

// Display on with vertical scroll 3, CIA interrupts masked, then NOPs.
std::vector<std::uint8_t> DisplayOnThenNops(std::vector<std::uint8_t> setup)
{
  std::vector<std::uint8_t> code = {0x78, 0xA9, 0x1B, 0x8D, 0x11, 0xD0,
                                    0xA9, 0x7F, 0x8D, 0x0D, 0xDC};
  code.insert(code.end(), setup.begin(), setup.end());
  code.insert(code.end(), 30000, 0xEA);
  return code;
}

// The video chip takes 43 cycles on each of the 25 bad lines of a frame (40
// character fetches and 3 cycles of warning) and 5 on each line of a sprite
// (2 fetch cycles and 3 of warning), 7 for two neighbouring sprites whose
// warnings overlap; a frame of NOPs runs that many cycles short.
TEST(C64Model, VideoChipTakesCyclesOnBadLinesAndForSprites)
{
  struct Case {
    const char* name;
    std::vector<std::uint8_t> setup;
    int stolen;
  };
  const Case cases[] = {
      {"bad lines only", {}, 25 * 43},
      {"one sprite, 21 lines",
       {0xA9, 0x01, 0x8D, 0x15, 0xD0, 0xA9, 0x80, 0x8D, 0x01, 0xD0},
       25 * 43 + 21 * 5},
      {"two sprites, one doubled in height",
       {0xA9, 0x03, 0x8D, 0x15, 0xD0, 0xA9, 0x01, 0x8D, 0x17, 0xD0, 0xA9, 0x80, 0x8D, 0x01, 0xD0,
        0x8D, 0x03, 0xD0},
       25 * 43 + 21 * 7 + 21 * 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Start after line 0: the display is switched on before line $30.
    C64Model model = Running(DisplayOnThenNops(c.setup), 1, 0);
    model.RunCycles(4 * CyclesPerLine);
    const std::uint64_t start = model.Cycle();
    model.Trace(true);
    model.RunCycles(CyclesPerFrame);
    int nops = 0;
    for (const auto& step : model.Executed()) {
      nops += step.opcode == 0xEA && step.cycle < start + CyclesPerFrame;
    }
    EXPECT_NEAR(nops, (CyclesPerFrame - c.stolen) / 2.0, 1.0);
  }
}

// A raster interrupt is raised on cycle 0 of its line; the 6502 finishes the
// instruction it is in when the interrupt was raised before that
// instruction's last cycle, otherwise the next one too, then spends 7 cycles
// entering the handler. Behind NOPs, a handler thus starts on cycle 9 or 10,
// as VICE's monitor shows on its cycle-exact C64.
TEST(C64Model, RasterInterruptEntryTiming)
{
  std::vector<int> starts;
  for (int phase = 0; phase < 2; ++phase) {
    SCOPED_TRACE(phase);
    // SEI; vectors at RAM; CIA off; raster interrupt at line $80; CLI; NOPs.
    std::vector<std::uint8_t> code = {0x78, 0xA9, 0x35, 0x85, 0x01, 0xA9, 0x00, 0x8D,
                                      0xFE, 0xFF, 0xA9, 0x20, 0x8D, 0xFF, 0xFF, 0xA9,
                                      0x7F, 0x8D, 0x0D, 0xDC, 0xA9, 0x80, 0x8D, 0x12,
                                      0xD0, 0xA9, 0x01, 0x8D, 0x1A, 0xD0, 0x58};
    code.insert(code.end(), 3000, 0xEA);
    C64Model model = Running(code, 0x70, phase);
    std::vector<std::uint8_t> handler = {0x00, 0x20, 0xEA, 0x4C, 0x01, 0x20};
    model.LoadProgram(handler);
    model.Trace(true);
    model.RunCycles(20 * CyclesPerLine);
    ASSERT_EQ(model.InterruptEntries().size(), 1u);
    for (const auto& step : model.Executed()) {
      if (step.pc == 0x2000) {
        EXPECT_EQ(C64Model::LineOf(model.Position(step.cycle)), 0x80);
        starts.push_back(C64Model::LineCycleOf(model.Position(step.cycle)));
      }
    }
  }
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_NE(starts[0], starts[1]) << "the two phases of the NOPs give the two entry cycles";
  for (int start : starts) {
    EXPECT_TRUE(start == 9 || start == 10) << start;
  }
}

}  // namespace
}  // namespace pavona::test
