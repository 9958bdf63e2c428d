#include "c64_model.h"

#include <cstdio>
#include <string>

namespace pavona::test {

namespace {

// What reading a ROM returns in the model: the ROMs' contents are not known
// here, and a program that reads them instead of RAM gets this instead.
constexpr std::uint8_t RomMarker = 0xEE;

// The KERNAL's 60 Hz interrupt: CIA 1 timer A at 16421 cycles on a PAL machine.
constexpr std::uint64_t TimerPeriod = 16421;

std::string Hex(unsigned value)
{
  char text[8];
  std::snprintf(text, sizeof text, "$%04X", value);
  return text;
}

}  // namespace

C64Model::C64Model(int line, int lineCycle)
    : origin_(std::uint64_t(line) * CyclesPerLine + lineCycle)
{
  // Not zero, so that a program relying on cleared memory shows.
  for (int address = 0; address < 65536; ++address) {
    ram_[address] = std::uint8_t(address * 7 + 0x35);
  }
  for (int index = 0; index < 1024; ++index) {
    colourRam_[index] = std::uint8_t((index * 5 + 3) & 0x0F);
  }
  // The registers as the KERNAL leaves them.
  vic_[0x11] = 0x1B;
  vic_[0x16] = 0xC8;
  vic_[0x18] = 0x15;
  cia2_[0x00] = 0x97;
  cia2_[0x02] = 0x3F;
}

void C64Model::LoadProgram(std::span<const std::uint8_t> file)
{
  if (file.size() < 2) {
    throw std::runtime_error("program file without a load address");
  }
  const unsigned load = file[0] | (file[1] << 8);
  if (load + file.size() - 2 > 0x10000) {
    throw std::runtime_error("program file runs past the end of memory");
  }
  for (std::size_t i = 2; i < file.size(); ++i) {
    ram_[load + i - 2] = file[i];
  }
}

void C64Model::Start(std::uint16_t pc)
{
  pc_ = pc;
  s_ = 0xF6;
  p_ = FlagU;
  pollIFlag_ = false;
}

bool C64Model::IoVisible() const
{
  return (port_ & 3) != 0 && (port_ & 4) != 0;
}

bool C64Model::RomAt(std::uint16_t address) const
{
  if (address >= 0xA000 && address < 0xC000) {
    return (port_ & 3) == 3;  // BASIC
  }
  if (address >= 0xE000) {
    return (port_ & 2) != 0;  // KERNAL
  }
  if (address >= 0xD000 && address < 0xE000) {
    return (port_ & 3) != 0 && (port_ & 4) == 0;  // character ROM
  }
  return false;
}

bool C64Model::SpriteFetchActive(int sprite, int line) const
{
  if (((vic_[0x15] >> sprite) & 1) == 0) {
    return false;
  }
  // Fetches start on the line equal to the sprite's Y position and last 21
  // lines, 42 when the sprite is doubled in height.
  const int lines = (vic_[0x17] >> sprite) & 1 ? 42 : 21;
  const int from = vic_[0x01 + 2 * sprite];
  return line >= from && line < from + lines;
}

bool C64Model::BusTaken(std::uint64_t position) const
{
  const int line = LineOf(position);
  const int lineCycle = LineCycleOf(position);
  const bool badLine =
      displayEnabledOnLine30_ && line >= 0x30 && line <= 0xF7 && (line & 7) == (vic_[0x11] & 7);
  if (badLine && lineCycle >= 11 && lineCycle <= 53) {
    return true;
  }
  for (int sprite = 0; sprite < 8; ++sprite) {
    const int from = 54 + 2 * sprite;
    const int to = from + 4;
    if (lineCycle >= from && lineCycle <= to && SpriteFetchActive(sprite, line)) {
      return true;
    }
    const int previous = (line + LinesPerFrame - 1) % LinesPerFrame;
    const int carried = lineCycle + CyclesPerLine;
    if (carried >= from && carried <= to && SpriteFetchActive(sprite, previous)) {
      return true;
    }
  }
  return false;
}

bool C64Model::IrqAsserted() const
{
  return (vicIrqFlags_ & vic_[0x1A] & 0x0F) != 0 || (cia1IrqFlags_ & cia1IrqMask_) != 0;
}

void C64Model::UpdateIrqLine()
{
  const bool asserted = IrqAsserted();
  if (asserted && !irqWasAsserted_) {
    irqAssertedAt_ = cycle_;
  }
  irqWasAsserted_ = asserted;
}

void C64Model::EndCycle()
{
  ++cycle_;
  const std::uint64_t position = Position(cycle_);
  const int line = LineOf(position);
  if (LineCycleOf(position) == 0) {
    if (line == 0x30) {
      displayEnabledOnLine30_ = false;
    }
    const int compare = vic_[0x12] | ((vic_[0x11] & 0x80) << 1);
    if (line == compare) {
      vicIrqFlags_ |= 0x01;
    }
  }
  if (line == 0x30 && (vic_[0x11] & 0x10) != 0) {
    displayEnabledOnLine30_ = true;
  }
  if (cycle_ >= nextTimerUnderflow_) {
    cia1IrqFlags_ |= 0x01;
    nextTimerUnderflow_ += TimerPeriod;
  }
  UpdateIrqLine();
}

void C64Model::WaitWhileBusTaken()
{
  while (BusTaken(Position(cycle_))) {
    EndCycle();
  }
}

std::uint8_t C64Model::ReadIo(std::uint16_t address)
{
  const std::uint64_t position = Position(cycle_);
  if (address < 0xD400) {
    const int reg = address & 0x3F;
    const int line = LineOf(position);
    switch (reg) {
      case 0x11:
        return std::uint8_t((vic_[0x11] & 0x7F) | ((line >> 1) & 0x80));
      case 0x12:
        return std::uint8_t(line);
      case 0x19:
        return std::uint8_t(vicIrqFlags_ | 0x70 | ((vicIrqFlags_ & vic_[0x1A] & 0x0F) ? 0x80 : 0));
      case 0x1A:
        return std::uint8_t(vic_[0x1A] | 0xF0);
      default:
        return vic_[reg];
    }
  }
  if (address >= 0xDC00 && address < 0xDD00) {
    const int reg = address & 0x0F;
    if (reg == 0x0D) {
      const std::uint8_t flags = cia1IrqFlags_;
      cia1IrqFlags_ = 0;
      UpdateIrqLine();
      return std::uint8_t(flags | ((flags & cia1IrqMask_) ? 0x80 : 0));
    }
    return cia1_[reg];
  }
  if (address >= 0xDD00 && address < 0xDE00) {
    const int reg = address & 0x0F;
    return reg == 0x0D ? 0 : cia2_[reg];
  }
  if (address >= 0xD800 && address < 0xDC00) {
    return colourRam_[address & 0x3FF];
  }
  return 0;  // sound chip, expansion: not used by the viewers
}

void C64Model::WriteIo(std::uint16_t address, std::uint8_t value)
{
  if (address >= 0xD800 && address < 0xDC00) {
    colourRam_[address & 0x3FF] = value & 0x0F;
    return;
  }
  ioWrites_.push_back({cycle_, address, value});
  if (address < 0xD400) {
    const int reg = address & 0x3F;
    vic_[reg] = value;
    if (reg == 0x19) {
      vicIrqFlags_ &= std::uint8_t(~value);
    }
  } else if (address >= 0xDC00 && address < 0xDD00) {
    const int reg = address & 0x0F;
    cia1_[reg] = value;
    if (reg == 0x0D) {
      if (value & 0x80) {
        cia1IrqMask_ |= value & 0x1F;
      } else {
        cia1IrqMask_ &= std::uint8_t(~value);
      }
    }
  } else if (address >= 0xDD00 && address < 0xDE00) {
    cia2_[address & 0x0F] = value;
  }
  UpdateIrqLine();
}

std::uint8_t C64Model::ReadMapped(std::uint16_t address)
{
  if (address == 0x0000) {
    return ddr_;
  }
  if (address == 0x0001) {
    return port_;
  }
  if (RomAt(address)) {
    ++romReads_;
    return RomMarker;
  }
  if (address >= 0xD000 && address < 0xE000 && IoVisible()) {
    return ReadIo(address);
  }
  return ram_[address];
}

void C64Model::WriteMapped(std::uint16_t address, std::uint8_t value)
{
  if (address == 0x0000) {
    ddr_ = value;
  } else if (address == 0x0001) {
    port_ = value;
  }
  if (address >= 0xD000 && address < 0xE000 && IoVisible()) {
    WriteIo(address, value);
    return;
  }
  ram_[address] = value;  // writes under a ROM land in RAM
}

std::uint8_t C64Model::Read(std::uint16_t address)
{
  WaitWhileBusTaken();
  const std::uint8_t value = ReadMapped(address);
  read_[address] = true;
  EndCycle();
  return value;
}

void C64Model::DummyRead()
{
  WaitWhileBusTaken();
  EndCycle();
}

void C64Model::Write(std::uint16_t address, std::uint8_t value)
{
  WriteMapped(address, value);
  EndCycle();
}

std::uint8_t C64Model::Fetch()
{
  if (RomAt(pc_)) {
    throw std::runtime_error("code runs in ROM at " + Hex(pc_));
  }
  return Read(pc_++);
}

void C64Model::Push(std::uint8_t value)
{
  Write(std::uint16_t(0x0100 | s_--), value);
}

std::uint8_t C64Model::Pull()
{
  return Read(std::uint16_t(0x0100 | ++s_));
}

void C64Model::SetNz(std::uint8_t value)
{
  p_ = std::uint8_t((p_ & ~(FlagN | FlagZ)) | (value & FlagN) | (value == 0 ? FlagZ : 0));
}

void C64Model::Interrupt()
{
  interruptEntries_.push_back(cycle_);
  DummyRead();
  DummyRead();
  Push(std::uint8_t(pc_ >> 8));
  Push(std::uint8_t(pc_));
  Push(std::uint8_t((p_ & ~FlagB) | FlagU));
  p_ |= FlagI;
  const std::uint8_t low = Read(0xFFFE);
  const std::uint8_t high = Read(0xFFFF);
  pc_ = std::uint16_t(low | (high << 8));
}

std::uint16_t C64Model::ZeroPage()
{
  return Fetch();
}

std::uint16_t C64Model::ZeroPageIndexed(std::uint8_t index)
{
  const std::uint8_t base = Fetch();
  DummyRead();
  return std::uint8_t(base + index);
}

std::uint16_t C64Model::Absolute()
{
  const std::uint8_t low = Fetch();
  const std::uint8_t high = Fetch();
  return std::uint16_t(low | (high << 8));
}

std::uint16_t C64Model::AbsoluteIndexed(std::uint8_t index, bool alwaysExtraCycle)
{
  const std::uint16_t base = Absolute();
  const std::uint16_t address = std::uint16_t(base + index);
  if (alwaysExtraCycle || (base & 0xFF00) != (address & 0xFF00)) {
    DummyRead();
  }
  return address;
}

std::uint16_t C64Model::IndexedIndirect()
{
  const std::uint8_t pointer = std::uint8_t(Fetch() + x_);
  DummyRead();
  const std::uint8_t low = Read(pointer);
  const std::uint8_t high = Read(std::uint8_t(pointer + 1));
  return std::uint16_t(low | (high << 8));
}

std::uint16_t C64Model::IndirectIndexed(bool alwaysExtraCycle)
{
  const std::uint8_t pointer = Fetch();
  const std::uint8_t low = Read(pointer);
  const std::uint8_t high = Read(std::uint8_t(pointer + 1));
  const std::uint16_t base = std::uint16_t(low | (high << 8));
  const std::uint16_t address = std::uint16_t(base + y_);
  if (alwaysExtraCycle || (base & 0xFF00) != (address & 0xFF00)) {
    DummyRead();
  }
  return address;
}

void C64Model::Adc(std::uint8_t value)
{
  if (p_ & FlagD) {
    throw std::runtime_error("decimal mode is not modelled");
  }
  const unsigned sum = a_ + value + (p_ & FlagC);
  const bool overflow = (~(a_ ^ value) & (a_ ^ sum) & 0x80) != 0;
  p_ = std::uint8_t((p_ & ~(FlagC | FlagV)) | (sum > 0xFF ? FlagC : 0) | (overflow ? FlagV : 0));
  a_ = std::uint8_t(sum);
  SetNz(a_);
}

void C64Model::Compare(std::uint8_t reg, std::uint8_t value)
{
  p_ = std::uint8_t((p_ & ~FlagC) | (reg >= value ? FlagC : 0));
  SetNz(std::uint8_t(reg - value));
}

std::uint8_t C64Model::Shift(int op, std::uint8_t value)
{
  const int carryIn = p_ & FlagC;
  int carryOut = 0;
  std::uint8_t result = 0;
  switch (op) {
    case 0:  // ASL
      carryOut = value >> 7;
      result = std::uint8_t(value << 1);
      break;
    case 1:  // ROL
      carryOut = value >> 7;
      result = std::uint8_t((value << 1) | carryIn);
      break;
    case 2:  // LSR
      carryOut = value & 1;
      result = std::uint8_t(value >> 1);
      break;
    default:  // ROR
      carryOut = value & 1;
      result = std::uint8_t((value >> 1) | (carryIn << 7));
      break;
  }
  p_ = std::uint8_t((p_ & ~FlagC) | carryOut);
  SetNz(result);
  return result;
}

void C64Model::Branch(bool condition)
{
  const std::uint16_t from = pc_ - 1;
  const std::int8_t offset = std::int8_t(Fetch());
  if (!condition) {
    return;
  }
  DummyRead();
  const std::uint16_t target = std::uint16_t(pc_ + offset);
  if ((target & 0xFF00) != (pc_ & 0xFF00)) {
    DummyRead();
    crossingBranches_.push_back(from);
  } else {
    // A taken branch that stays in its page polls for interrupts before its
    // last cycle, not on it.
    pollBefore_ = cycle_ - 2;
  }
  pc_ = target;
}

void C64Model::Step()
{
  if (irqWasAsserted_ && irqAssertedAt_ < pollBefore_ && !pollIFlag_) {
    Interrupt();
    pollIFlag_ = true;  // the handler's first instruction always runs
    return;
  }
  const std::uint64_t start = cycle_;
  const std::uint16_t at = pc_;
  const std::uint8_t opcode = Fetch();
  if (tracing_) {
    trace_.push_back({start, at, opcode});
  }
  const bool iBefore = (p_ & FlagI) != 0;
  pollBefore_ = 0;
  Execute(opcode);
  if (pollBefore_ == 0) {
    pollBefore_ = cycle_ - 1;
  }
  // CLI, SEI and PLP change the I flag after the poll.
  const bool changesIFlagLate = opcode == 0x58 || opcode == 0x78 || opcode == 0x28;
  pollIFlag_ = changesIFlagLate ? iBefore : (p_ & FlagI) != 0;
  jumpedToItself_ = opcode == 0x4C && pc_ == at;
}

std::uint16_t C64Model::RunUntilIdle(std::uint64_t maxCycles)
{
  const std::uint64_t limit = cycle_ + maxCycles;
  jumpedToItself_ = false;
  while (!jumpedToItself_) {
    if (cycle_ > limit) {
      throw std::runtime_error("no idle loop reached; running at " + Hex(pc_));
    }
    Step();
  }
  return pc_;
}

void C64Model::RunCycles(std::uint64_t cycles)
{
  const std::uint64_t end = cycle_ + cycles;
  while (cycle_ < end) {
    Step();
  }
}

void C64Model::Execute(std::uint8_t opcode)
{
  // Operand of a reading instruction, by the addressing mode in the opcode's
  // middle bits (the 6502's regular groups).
  auto readOperand = [&](int mode, bool indexY) -> std::uint8_t {
    switch (mode) {
      case 0:  // (zp,X)
        return Read(IndexedIndirect());
      case 1:  // zp
        return Read(ZeroPage());
      case 2:  // #
        return Fetch();
      case 3:  // abs
        return Read(Absolute());
      case 4:  // (zp),Y
        return Read(IndirectIndexed(false));
      case 5:  // zp,X or zp,Y
        return Read(ZeroPageIndexed(indexY ? y_ : x_));
      case 6:  // abs,Y
        return Read(AbsoluteIndexed(y_, false));
      default:  // abs,X or abs,Y
        return Read(AbsoluteIndexed(indexY ? y_ : x_, false));
    }
  };
  auto storeAddress = [&](int mode, bool indexY) -> std::uint16_t {
    switch (mode) {
      case 0:
        return IndexedIndirect();
      case 1:
        return ZeroPage();
      case 3:
        return Absolute();
      case 4:
        return IndirectIndexed(true);
      case 5:
        return ZeroPageIndexed(indexY ? y_ : x_);
      case 6:
        return AbsoluteIndexed(y_, true);
      case 7:
        return AbsoluteIndexed(x_, true);
      default:
        throw std::runtime_error("undocumented store");
    }
  };
  auto modify = [&](int mode, auto operation) {
    std::uint16_t address = 0;
    switch (mode) {
      case 1:
        address = ZeroPage();
        break;
      case 3:
        address = Absolute();
        break;
      case 5:
        address = ZeroPageIndexed(x_);
        break;
      default:
        address = AbsoluteIndexed(x_, true);
        break;
    }
    const std::uint8_t value = Read(address);
    Write(address, value);  // the 6502 writes the old value back first
    Write(address, operation(value));
  };
  auto implied = [&] { DummyRead(); };

  const int mode = (opcode >> 2) & 7;
  const int operation = opcode >> 5;

  // Low bits 01: ORA AND EOR ADC STA LDA CMP SBC, in eight addressing modes.
  if ((opcode & 3) == 1) {
    switch (operation) {
      case 0:
        a_ |= readOperand(mode, false);
        break;
      case 1:
        a_ &= readOperand(mode, false);
        break;
      case 2:
        a_ ^= readOperand(mode, false);
        break;
      case 3:
        Adc(readOperand(mode, false));
        return;
      case 4:
        if (mode == 2) {
          throw std::runtime_error("undocumented opcode at " + Hex(std::uint16_t(pc_ - 1)));
        }
        Write(storeAddress(mode, false), a_);
        return;
      case 5:
        a_ = readOperand(mode, false);
        break;
      case 6:
        Compare(a_, readOperand(mode, false));
        return;
      default:
        Adc(std::uint8_t(~readOperand(mode, false)));
        return;
    }
    SetNz(a_);
    return;
  }

  // Low bits 10 in the odd modes: ASL ROL LSR ROR DEC INC on memory.
  if ((opcode & 3) == 2 && (mode & 1) && operation != 4 && operation != 5) {
    modify(mode, [&](std::uint8_t value) {
      if (operation < 4) {
        return Shift(operation, value);
      }
      const std::uint8_t result = std::uint8_t(operation == 6 ? value - 1 : value + 1);
      SetNz(result);
      return result;
    });
    return;
  }

  // clang-format off
  switch (opcode) {
    // LDX, LDY, STX, STY, CPX, CPY, BIT.
    case 0xA2: x_ = Fetch(); SetNz(x_); return;
    case 0xA6: case 0xAE: case 0xB6: x_ = readOperand(mode, true); SetNz(x_); return;
    case 0xBE: x_ = readOperand(6, true); SetNz(x_); return;
    case 0xA0: y_ = Fetch(); SetNz(y_); return;
    case 0xA4: case 0xAC: case 0xB4: case 0xBC: y_ = readOperand(mode, false); SetNz(y_); return;
    case 0x86: case 0x8E: case 0x96: Write(storeAddress(mode, true), x_); return;
    case 0x84: case 0x8C: case 0x94: Write(storeAddress(mode, false), y_); return;
    case 0xE0: Compare(x_, Fetch()); return;
    case 0xE4: case 0xEC: Compare(x_, readOperand(mode, false)); return;
    case 0xC0: Compare(y_, Fetch()); return;
    case 0xC4: case 0xCC: Compare(y_, readOperand(mode, false)); return;
    case 0x24: case 0x2C: {
      const std::uint8_t value = readOperand(mode, false);
      p_ = std::uint8_t((p_ & ~(FlagN | FlagV | FlagZ)) | (value & (FlagN | FlagV)) |
                        ((a_ & value) == 0 ? FlagZ : 0));
      return;
    }

    // ASL ROL LSR ROR on the accumulator.
    case 0x0A: case 0x2A: case 0x4A: case 0x6A: implied(); a_ = Shift(operation, a_); return;

    // Branches.
    case 0x10: Branch((p_ & FlagN) == 0); return;
    case 0x30: Branch((p_ & FlagN) != 0); return;
    case 0x50: Branch((p_ & FlagV) == 0); return;
    case 0x70: Branch((p_ & FlagV) != 0); return;
    case 0x90: Branch((p_ & FlagC) == 0); return;
    case 0xB0: Branch((p_ & FlagC) != 0); return;
    case 0xD0: Branch((p_ & FlagZ) == 0); return;
    case 0xF0: Branch((p_ & FlagZ) != 0); return;

    // Two-cycle implied instructions.
    case 0x18: implied(); p_ &= ~FlagC; return;
    case 0x38: implied(); p_ |= FlagC; return;
    case 0x58: implied(); p_ &= ~FlagI; return;
    case 0x78: implied(); p_ |= FlagI; return;
    case 0xB8: implied(); p_ &= ~FlagV; return;
    case 0xD8: implied(); p_ &= ~FlagD; return;
    case 0xF8: implied(); p_ |= FlagD; return;
    case 0xAA: implied(); x_ = a_; SetNz(x_); return;
    case 0x8A: implied(); a_ = x_; SetNz(a_); return;
    case 0xA8: implied(); y_ = a_; SetNz(y_); return;
    case 0x98: implied(); a_ = y_; SetNz(a_); return;
    case 0xBA: implied(); x_ = s_; SetNz(x_); return;
    case 0x9A: implied(); s_ = x_; return;
    case 0xE8: implied(); ++x_; SetNz(x_); return;
    case 0xC8: implied(); ++y_; SetNz(y_); return;
    case 0xCA: implied(); --x_; SetNz(x_); return;
    case 0x88: implied(); --y_; SetNz(y_); return;
    case 0xEA: implied(); return;

    // Stack.
    case 0x48: implied(); Push(a_); return;
    case 0x08: implied(); Push(std::uint8_t(p_ | FlagB | FlagU)); return;
    case 0x68: implied(); DummyRead(); a_ = Pull(); SetNz(a_); return;
    case 0x28: implied(); DummyRead(); p_ = std::uint8_t((Pull() & ~FlagB) | FlagU); return;
      // clang-format on

    // Jumps and returns.
    case 0x4C:
      pc_ = Absolute();
      return;
    case 0x6C: {
      const std::uint16_t pointer = Absolute();
      const std::uint8_t low = Read(pointer);
      // The 6502 takes the high byte from the same page.
      const std::uint8_t high = Read(std::uint16_t((pointer & 0xFF00) | ((pointer + 1) & 0xFF)));
      pc_ = std::uint16_t(low | (high << 8));
      return;
    }
    case 0x20: {
      const std::uint8_t low = Fetch();
      DummyRead();
      Push(std::uint8_t(pc_ >> 8));
      Push(std::uint8_t(pc_));
      const std::uint8_t high = Fetch();
      pc_ = std::uint16_t(low | (high << 8));
      return;
    }
    case 0x60: {
      implied();
      DummyRead();
      const std::uint8_t low = Pull();
      const std::uint8_t high = Pull();
      pc_ = std::uint16_t((low | (high << 8)) + 1);
      DummyRead();
      return;
    }
    case 0x40: {
      implied();
      DummyRead();
      p_ = std::uint8_t((Pull() & ~FlagB) | FlagU);
      const std::uint8_t low = Pull();
      const std::uint8_t high = Pull();
      pc_ = std::uint16_t(low | (high << 8));
      return;
    }
    case 0x00:
      // No viewer uses BRK; meeting one means the program ran into data.
      throw std::runtime_error("BRK at " + Hex(std::uint16_t(pc_ - 1)));
    default:
      throw std::runtime_error("undocumented opcode at " + Hex(std::uint16_t(pc_ - 1)));
  }
}

}  // namespace pavona::test
