#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

#include "c64/c64_data.h"
#include "colour/mix_table.h"
#include "colour/picture.h"
#include "colour/reach_mapping.h"
#include "refine/blurred_error_field.h"
#include "refine/structure_guard.h"
#include "refine/unit_mixes.h"

namespace pavona {

// The buffers a refinement works in, kept from one conversion to the next:
// fresh memory costs a page fault per 4 KB, which took a fifth of the time.
struct RefineScratch {
  AdjustedPlanes adjusted;
  Picture adjustedPicture{};
  MixTable ditherTable;
  UnitMixes units;
  std::vector<Channels> gradient;
  std::vector<std::int8_t> shownMix;
  std::vector<float> targetLuma;  // of the adjusted frame
  StructureScratch structure;
  ReachMapping reachMapping;  // for "Map colours into reach", kept per mix table
};

// Besides the blurred error, each pixel's own luma difference to the target,
// unblurred, counts with this weight (the blurred error weighs a lone pixel's
// squared difference by about 0.08 in each lane): a blur hides a pixel far
// lighter or darker than its neighbours, the eye sees it as a stray dot.
constexpr float OwnLumaWeight = 0.1f;

// The pixels of one unit: 8 x 1 (a span of a FLI row) or 8 x 8 (a cell).
struct UnitArea {
  int x0 = 0;
  int y0 = 0;
  int height = 1;

  int Count() const { return 8 * height; }
  int X(int i) const { return x0 + i % 8; }
  int Y(int i) const { return y0 + i / 8; }
};

// What the refinement's placing of pixels and choosing of unit colours work
// on: the result and C64 data being improved, what each pixel's units can
// show, which of its mixes each pixel shows, and the blurred error. Every
// change goes through Show or SetUnitColours, which keep all of them in step.
class RefineCanvas {
 public:
  // Pixels are looked at again by spans of eight in a row.
  static constexpr int Spans = PixelCount / 8;

  RefineCanvas(Picture& result, C64Data& data, UnitMixes& units, const MixTable& table,
               const Picture& adjusted, int firstColumn, RefineScratch& scratch);

  const UnitMixes& Units() const { return units_; }
  const BlurredErrorField& Field() const { return field_; }
  const C64Data& Data() const { return data_; }
  int FirstColumn() const { return firstColumn_; }

  // The index among the pixel's mixes of the one it shows; -1 where it shows
  // none of them (the search drew it some other way), so it is left alone.
  int ShownMix(int x, int y) const { return shownMix_[PixelIndex(x, y)]; }

  // The colour of a table slot as channels.
  Channels SlotColour(int slot) const { return slotColour_[slot]; }
  Channels ShownColour(int x, int y) const
  {
    const int offset = PixelIndex(x, y);
    return slotColour_[units_.mixes[offset][shownMix_[offset]].slot];
  }

  // What showing `slot` at (x, y) in place of its present mix changes the
  // pixel's own term of the error by (see OwnLumaWeight).
  float OwnLumaChange(int x, int y, int slot) const
  {
    const int offset = PixelIndex(x, y);
    const float from =
        slotLuma_[units_.mixes[offset][shownMix_[offset]].slot] - targetLuma_[offset];
    const float to = slotLuma_[slot] - targetLuma_[offset];
    return OwnLumaWeight * (to * to - from * from);
  }

  // Shows the pixel's k-th mix; returns 1 if that is a change.
  int Show(int x, int y, int k);

  // Gives the unit the screen byte `byte` at `at` in the C64 data, so its
  // pixels can show the mixes `list`, and its i-th pixel the mix choice[i].
  void SetUnitColours(int at, int byte, UnitArea area, const MixList& list,
                      const std::int8_t* choice);

  // Whether the span holding (x, y) was marked since the last TakeMarks.
  bool Marked(int x, int y) const { return visit_[PixelIndex(x, y) / 8]; }
  // Marks every span for a look; or only those near a change since the last
  // call.
  void TakeMarks(bool everySpan);

 private:
  void ShowMix(int x, int y, const UnitMix& mix, Channels delta);
  void MarkAround(int x, int y, int count);

  Picture& result_;
  C64Data& data_;
  UnitMixes& units_;
  const MixTable& table_;
  const int firstColumn_;
  BlurredErrorField field_;
  std::array<Channels, MixSlotCount> slotColour_;
  std::vector<std::int8_t>& shownMix_;
  std::array<float, MixSlotCount> slotLuma_;
  std::vector<float>& targetLuma_;
  // The spans to look at now, and those marked for the next look: work
  // running side by side may mark the same spans.
  std::vector<bool> visit_ = std::vector<bool>(Spans, false);
  std::vector<std::atomic<std::uint8_t>> next_ = std::vector<std::atomic<std::uint8_t>>(Spans);
};

}  // namespace pavona
