#pragma once

// A small model of a PAL C64, enough to run the viewer programs in the tests:
// a 6502 with the documented opcodes, exact cycle counts and page-crossing
// penalties, 64 KB of RAM behind the processor port's banking, and of the
// chips only what the viewers touch:
// - the video chip's raster counter (63 cycles a line, 312 lines a frame,
//   read at D012 and D011 bit 7), its raster interrupt, and the cycles it
//   takes from the processor for forced colour fetches ("bad lines") and for
//   sprite fetches, so that raster code runs with the timing of the real chip;
// - CIA 1's timer interrupt as the KERNAL leaves it running (until a program
//   masks it at DC0D);
// - the colour RAM at D800-DBFF, whose 1024 nibbles keep the low four bits
//   of what is written (the high four read as 0 here; on a real C64 they are
//   whatever the bus last held);
// - every write to D0xx, DCxx and DDxx recorded with its cycle.
// Cycles within a line are counted 0..62 as VICE's monitor counts them: the
// raster interrupt is raised on cycle 0, a bad line holds the processor from
// cycle 11 (or from the store that creates it) to cycle 53, sprite n from cycle
// 54 + 2n to 58 + 2n. ROM contents are not modelled: reading a ROM returns a
// marker value and counts as a ROM read; running code in ROM is an error.
// Decimal mode and NMIs are not modelled.

#include <array>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace pavona::test {

constexpr int CyclesPerLine = 63;
constexpr int LinesPerFrame = 312;
constexpr int CyclesPerFrame = CyclesPerLine * LinesPerFrame;

class C64Model {
 public:
  struct IoWrite {
    std::uint64_t cycle;
    std::uint16_t address;
    std::uint8_t value;
  };
  struct Instruction {
    std::uint64_t cycle;  // first cycle of the instruction
    std::uint16_t pc;
    std::uint8_t opcode;
  };

  // The model starts at raster line `line`, cycle `lineCycle`.
  explicit C64Model(int line = 0, int lineCycle = 0);

  // Loads a program file at its load address, as LOAD "...",8,1 does.
  void LoadProgram(std::span<const std::uint8_t> file);
  // Starts the processor at `pc` as BASIC's SYS does: interrupts enabled,
  // the stack part-used.
  void Start(std::uint16_t pc);

  // Runs one instruction, or the entry into an interrupt handler.
  void Step();
  // Runs until an instruction jumps to itself (an idle loop); returns its
  // address. Throws if that takes more than `maxCycles`.
  std::uint16_t RunUntilIdle(std::uint64_t maxCycles);
  void RunCycles(std::uint64_t cycles);
  // Holds the processor for some cycles, as a DMA would: shifts the phase of
  // the running program against the raster.
  void Stall(int cycles) { cycle_ += cycles; }

  std::uint64_t Cycle() const { return cycle_; }
  static int LineOf(std::uint64_t position)
  {
    return int(position / CyclesPerLine % LinesPerFrame);
  }
  static int LineCycleOf(std::uint64_t position) { return int(position % CyclesPerLine); }
  // Position counted from the frame's first cycle, for a cycle of this model.
  std::uint64_t Position(std::uint64_t cycle) const { return cycle + origin_; }

  std::uint8_t Ram(std::uint16_t address) const { return ram_[address]; }
  std::uint8_t Vic(int reg) const { return vic_[reg & 0x3F]; }  // as last written
  std::uint8_t Cia1(int reg) const { return cia1_[reg & 0x0F]; }
  std::uint8_t Cia2(int reg) const { return cia2_[reg & 0x0F]; }
  std::uint8_t ColourRam(int index) const { return colourRam_[index & 0x3FF]; }
  std::uint8_t ProcessorPort() const { return port_; }
  std::uint16_t Pc() const { return pc_; }
  std::uint8_t StackPointer() const { return s_; }
  bool InterruptsDisabled() const { return p_ & FlagI; }

  const std::vector<IoWrite>& IoWrites() const { return ioWrites_; }
  void ClearIoWrites() { ioWrites_.clear(); }
  // Every instruction run, while tracing.
  void Trace(bool on) { tracing_ = on; }
  const std::vector<Instruction>& Executed() const { return trace_; }
  void ClearTrace() { trace_.clear(); }
  // Addresses of taken branches that crossed a page (and took a cycle more).
  const std::vector<std::uint16_t>& PageCrossingBranches() const { return crossingBranches_; }
  // Addresses from which code or data was read.
  bool WasRead(std::uint16_t address) const { return read_[address]; }
  int RomReads() const { return romReads_; }
  // First cycles of the interrupt entries taken.
  const std::vector<std::uint64_t>& InterruptEntries() const { return interruptEntries_; }

 private:
  static constexpr std::uint8_t FlagC = 0x01, FlagZ = 0x02, FlagI = 0x04, FlagD = 0x08,
                                FlagB = 0x10, FlagU = 0x20, FlagV = 0x40, FlagN = 0x80;

  // Bus cycles. Every cycle is a read or a write; the video chip holds the
  // processor on read cycles only.
  std::uint8_t Read(std::uint16_t address);
  void DummyRead();
  void Write(std::uint16_t address, std::uint8_t value);
  std::uint8_t Fetch();
  void WaitWhileBusTaken();
  void EndCycle();

  std::uint8_t ReadMapped(std::uint16_t address);
  void WriteMapped(std::uint16_t address, std::uint8_t value);
  bool IoVisible() const;
  bool RomAt(std::uint16_t address) const;
  std::uint8_t ReadIo(std::uint16_t address);
  void WriteIo(std::uint16_t address, std::uint8_t value);

  bool BusTaken(std::uint64_t position) const;
  bool SpriteFetchActive(int sprite, int line) const;
  bool IrqAsserted() const;
  void UpdateIrqLine();

  void Push(std::uint8_t value);
  std::uint8_t Pull();
  void SetNz(std::uint8_t value);
  void Interrupt();
  void Execute(std::uint8_t opcode);

  // Addressing modes: each runs its bus cycles and returns the address.
  std::uint16_t ZeroPage();
  std::uint16_t ZeroPageIndexed(std::uint8_t index);
  std::uint16_t Absolute();
  std::uint16_t AbsoluteIndexed(std::uint8_t index, bool alwaysExtraCycle);
  std::uint16_t IndexedIndirect();
  std::uint16_t IndirectIndexed(bool alwaysExtraCycle);
  void Branch(bool condition);

  // Operations.
  void Adc(std::uint8_t value);
  void Compare(std::uint8_t reg, std::uint8_t value);
  std::uint8_t Shift(int op, std::uint8_t value);  // op: 0 ASL, 1 ROL, 2 LSR, 3 ROR

  std::array<std::uint8_t, 65536> ram_{};
  std::vector<bool> read_ = std::vector<bool>(65536);
  std::uint8_t port_ = 0x37;
  std::uint8_t ddr_ = 0x2F;
  std::array<std::uint8_t, 64> vic_{};
  std::array<std::uint8_t, 16> cia1_{};
  std::array<std::uint8_t, 16> cia2_{};
  std::array<std::uint8_t, 1024> colourRam_{};
  std::uint8_t vicIrqFlags_ = 0;
  std::uint8_t cia1IrqFlags_ = 0;
  std::uint8_t cia1IrqMask_ = 0x01;  // the KERNAL's 60 Hz timer interrupt
  std::uint64_t nextTimerUnderflow_ = 4000;
  bool displayEnabledOnLine30_ = false;

  std::uint16_t pc_ = 0;
  std::uint8_t a_ = 0, x_ = 0, y_ = 0, s_ = 0xFF, p_ = FlagU | FlagI;

  std::uint64_t cycle_ = 0;
  std::uint64_t origin_ = 0;
  bool irqWasAsserted_ = false;
  std::uint64_t irqAssertedAt_ = 0;

  std::vector<IoWrite> ioWrites_;
  bool tracing_ = false;
  std::vector<Instruction> trace_;
  std::vector<std::uint16_t> crossingBranches_;
  std::vector<std::uint64_t> interruptEntries_;
  int romReads_ = 0;

  // Interrupt polling: the line must be asserted before the last cycle of an
  // instruction begins (two cycles before its end for a taken branch that
  // stays in its page), with the I flag as it was at that time.
  std::uint64_t pollBefore_ = 0;
  bool pollIFlag_ = true;
  bool jumpedToItself_ = false;
};

}  // namespace pavona::test
