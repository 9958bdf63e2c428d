// Disabled controls say why in their tooltip, in the words of the conversion
// plan (or of the placement for the zoom), and get their own tooltip back
// once they apply again; the last two colour adjustments are labelled.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>

#include "framing/placement_zoom.h"
#include "plan/conversion_plan.h"
#include "scripted_prompts.h"

namespace pavona {
namespace {

using ControlReasonsTest = ScriptedWindowTest;

TEST_F(ControlReasonsTest, DisabledOptionsSayWhyAndGetTheirTooltipBack)
{
  struct Row {
    const char* name;
    QCheckBox* box;
    OptionControl control;
  };
  const Row rows[] = {
      {"Alternate Y", c().alternateYBox, OptionControl::AlternateY},
      {"Alternate X", c().alternateXBox, OptionControl::AlternateX},
      {"Alternate X8", c().alternateX8Box, OptionControl::AlternateX8},
      {"4 cols per 8x1", c().fourColoursBox, OptionControl::FourColours},
  };
  std::map<const QCheckBox*, QString> ownTips;
  for (const Row& row : rows) {
    ownTips[row.box] = row.box->isEnabled() ? row.box->toolTip() : QString();
  }
  // Hires FLI Interlace at start: "Alternate X" needs "Same Col Banks";
  // Hires Interlaced without it: none of the four applies.
  for (GraphicMode mode : {GraphicMode::HiresFliInterlace, GraphicMode::HiresInterlaced}) {
    Click(mode == GraphicMode::HiresInterlaced ? c().modeButtons.hiresInterlaced
                                               : c().modeButtons.hiresFliInterlace);
    const Settings settings = window().GatherSettings();
    ASSERT_EQ(settings.mode, mode);
    for (const Row& row : rows) {
      SCOPED_TRACE(testing::Message() << row.name << " in mode " << int(mode));
      const std::string_view why = WhyNotApplicable(settings, row.control);
      EXPECT_EQ(row.box->isEnabled(), why.empty());
      if (row.box->isEnabled()) {
        EXPECT_EQ(row.box->toolTip(), ownTips[row.box]);
      } else {
        EXPECT_EQ(row.box->toolTip().toStdString(), why);
      }
    }
  }
  EXPECT_FALSE(c().alternateXBox->isEnabled());
  EXPECT_TRUE(c().alternateXBox->toolTip().contains("Same Col Banks"));
  // "Same Col Banks" makes "Alternate X" apply: its own tooltip is back.
  Click(c().sameBanksBox);
  EXPECT_TRUE(c().alternateXBox->isEnabled());
  EXPECT_EQ(c().alternateXBox->toolTip(), ownTips[c().alternateXBox]);
  EXPECT_FALSE(c().fourColoursBox->isEnabled());
  EXPECT_FALSE(c().fourColoursBox->toolTip().isEmpty());
}

TEST_F(ControlReasonsTest, ZoomSaysWhyItIsFixedInCutOut)
{
  const QString ownTip = "Zoom: percent of the picture's own size";
  for (QWidget* zoom : {static_cast<QWidget*>(c().placement.zoomSlider),
                        static_cast<QWidget*>(c().placement.zoomField)}) {
    EXPECT_EQ(zoom->toolTip().toStdString(), WhyZoomIsFixed(FitMode::Cutout, false));
  }
  ASSERT_TRUE(OpenAndWait([&] { window().OpenPicture(PAVONA_TEST_DATA_DIR "/coffee_frame.jpg"); }));
  ASSERT_TRUE(c().placement.cutout->isChecked());
  for (QWidget* zoom : {static_cast<QWidget*>(c().placement.zoomSlider),
                        static_cast<QWidget*>(c().placement.zoomField)}) {
    EXPECT_FALSE(zoom->isEnabled());
    EXPECT_TRUE(zoom->toolTip().contains("Cut-out 1:1")) << zoom->toolTip().toStdString();
  }
  // The file may be read again at a larger size; the zoom applies at once.
  Click(c().placement.fit);
  for (QWidget* zoom : {static_cast<QWidget*>(c().placement.zoomSlider),
                        static_cast<QWidget*>(c().placement.zoomField)}) {
    EXPECT_TRUE(zoom->isEnabled());
    EXPECT_EQ(zoom->toolTip(), ownTip);
  }
}

TEST_F(ControlReasonsTest, BrightnessAndContrastAreLabelled)
{
  struct Row {
    const char* label;
    const char* caption;
    QSlider* trackBar;
  };
  for (const Row& row :
       {Row{"adjustment.brightness.label", "Brightness", c().adjustment.brightness.trackBar},
        Row{"adjustment.contrast.label", "Contrast", c().adjustment.contrast.trackBar}}) {
    SCOPED_TRACE(row.caption);
    const auto* label = window().findChild<QLabel*>(row.label);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), row.caption);
    EXPECT_TRUE(label->isVisible());
    // On the track bar's row, before it.
    const QRect bar = row.trackBar->geometry();
    EXPECT_LE(label->geometry().right(), bar.left());
    EXPECT_TRUE(label->geometry().intersects(QRect(0, bar.top(), 1000, bar.height())));
  }
}

}  // namespace
}  // namespace pavona
