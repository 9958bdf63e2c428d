// Typing into the number fields with real key events: what is typed stays as
// typed until Return or leaving the field, which shows the value in range.
#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QSlider>

#include "gui_test_support.h"

namespace pavona {
namespace {

// Replaces the field's text by typing, as a user who selected it all.
void TypeOver(QLineEdit* field, const QString& keys)
{
  field->selectAll();
  QTest::keyClicks(field, keys);
}

void LeaveField(QLineEdit* field)
{
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(field, &out);
}

enum class Ending { Return, FocusOut };

struct TypedRow {
  const char* name;
  QLineEdit* MainWindowControls::*field;  // a field of its own
  QLineEdit* AdjustmentRow::*rowField;    // or the field of an adjustment row
  AdjustmentRow AdjustmentRows::*row;
  int (*setting)(const Settings&);
  const char* start;
  const char* typed;
  int whileTyped;  // the setting with the typed text, before the typing ends
  Ending ending;
  const char* shownAfter;
  int settingAfter;
};

int Red(const Settings& s)
{
  return s.adjustment.red;
}
int Brightness(const Settings& s)
{
  return s.adjustment.brightness;
}
int Contrast(const Settings& s)
{
  return s.adjustment.contrast;
}
int ValueAmp(const Settings& s)
{
  return s.dither.valueAmp;
}
int Strength(const Settings& s)
{
  return s.dither.strength;
}

constexpr auto Adjustment = &AdjustmentRow::field;

// clang-format off
const TypedRow TypedRows[] = {
    {"red -50 over 100",           nullptr, Adjustment, &AdjustmentRows::red,        Red,        "100", "-50",  -50,  Ending::Return,   "-50",  -50},
    {"brightness -7 left",         nullptr, Adjustment, &AdjustmentRows::brightness, Brightness, "30",  "-7",   -7,   Ending::FocusOut, "-7",   -7},
    {"contrast -100",              nullptr, Adjustment, &AdjustmentRows::contrast,   Contrast,   "100", "-100", -100, Ending::Return,   "-100", -100},
    {"contrast 150 is limited",    nullptr, Adjustment, &AdjustmentRows::contrast,   Contrast,   "0",   "150",  100,  Ending::Return,   "100",  100},
    {"red -999 is limited",        nullptr, Adjustment, &AdjustmentRows::red,        Red,        "10",  "-999", -255, Ending::FocusOut, "-255", -255},
    {"brightness left empty",      nullptr, Adjustment, &AdjustmentRows::brightness, Brightness, "40",  "",     40,   Ending::FocusOut, "40",   40},
    {"contrast left at a minus",   nullptr, Adjustment, &AdjustmentRows::contrast,   Contrast,   "20",  "-",    20,   Ending::Return,   "20",   20},
    // The spinner fields are read as typed until the typing ends.
    {"value amp 9 is limited",     &MainWindowControls::valueAmpField, nullptr, nullptr, ValueAmp, "2",  "9",   9,  Ending::Return,   "4",   4},
    {"value amp -3 is limited",    &MainWindowControls::valueAmpField, nullptr, nullptr, ValueAmp, "2",  "-3",  -3, Ending::FocusOut, "1",   1},
    {"strength -20 is limited",    &MainWindowControls::strengthField, nullptr, nullptr, Strength, "45", "-20", -20, Ending::Return,   "0",   0},
    {"strength 300 is limited",    &MainWindowControls::strengthField, nullptr, nullptr, Strength, "45", "300", 300, Ending::FocusOut, "255", 255},
    {"strength 120",               &MainWindowControls::strengthField, nullptr, nullptr, Strength, "45", "120", 120, Ending::Return,   "120", 120},
};
// clang-format on

QLineEdit* FieldOf(const MainWindowControls& c, const TypedRow& row)
{
  return row.field != nullptr ? c.*row.field : c.adjustment.*row.row.*row.rowField;
}

TEST_F(MainWindowTest, TypedNumbersStayAsTypedUntilTheTypingEnds)
{
  for (const TypedRow& row : TypedRows) {
    SCOPED_TRACE(row.name);
    QLineEdit* field = FieldOf(c(), row);
    field->setText(row.start);
    const int before = row.setting(window().GatherSettings());

    // Every key leaves the text as typed so far; a lone sign or an empty
    // field takes nothing.
    field->selectAll();
    QString typedSoFar;
    for (const QChar key : QString(row.typed)) {
      QTest::keyClicks(field, QString(key));
      typedSoFar += key;
      EXPECT_EQ(field->text(), typedSoFar);
    }
    if (QString(row.typed).isEmpty()) {
      QTest::keyClick(field, Qt::Key_Backspace);
      EXPECT_EQ(field->text(), "");
      EXPECT_EQ(row.setting(window().GatherSettings()), before);
    }
    EXPECT_EQ(row.setting(window().GatherSettings()), row.whileTyped);

    if (row.ending == Ending::Return) {
      QTest::keyClick(field, Qt::Key_Return);
    } else {
      LeaveField(field);
    }
    EXPECT_EQ(field->text(), row.shownAfter);
    EXPECT_EQ(row.setting(window().GatherSettings()), row.settingAfter);
  }
}

// A minus typed first must not be read as 0 and rewritten: that used to turn
// "-50" into "50".
TEST_F(MainWindowTest, AMinusSignTypedFirstIsKept)
{
  QLineEdit* field = c().adjustment.green.field;
  field->setText("100");
  TypeOver(field, "-");
  EXPECT_EQ(field->text(), "-");
  EXPECT_EQ(c().adjustment.green.trackBar->value(), 100);
  QTest::keyClicks(field, "5");
  EXPECT_EQ(c().adjustment.green.trackBar->value(), -5);
  // Another colour's track bar rewrites the colour fields, but not the one
  // being typed in.
  c().adjustment.blue.trackBar->setValue(12);
  EXPECT_EQ(field->text(), "-5");
  EXPECT_EQ(c().adjustment.blue.field->text(), "12");
  QTest::keyClicks(field, "0");
  EXPECT_EQ(field->text(), "-50");
  EXPECT_EQ(c().adjustment.green.trackBar->value(), -50);

  // Once the typing has ended, a moved track bar shows in the field again.
  QTest::keyClick(field, Qt::Key_Return);
  c().adjustment.green.trackBar->setValue(8);
  EXPECT_EQ(field->text(), "8");
}

// A spinner step after typing starts from the last number typed.
TEST_F(MainWindowTest, ASpinnerFieldLeftWithoutANumberShowsTheLastNumberTyped)
{
  QLineEdit* field = c().valueAmpField;
  TypeOver(field, "3x");
  EXPECT_EQ(window().GatherSettings().dither.valueAmp, 0);  // read as typed
  LeaveField(field);
  EXPECT_EQ(field->text(), "3");
  EXPECT_EQ(window().GatherSettings().dither.valueAmp, 3);
}

}  // namespace
}  // namespace pavona
