#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include "gui/remembered_state.h"

// The widgets need a QApplication; without a display they run offscreen, on
// a screen of 1366 x 768 (test discovery starts the program without the test
// environment). What
// the program remembers between runs goes to a folder of this run, never
// to the user's settings.
int main(int argc, char* argv[])
{
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" PAVONA_TEST_SCREEN);
  }
  testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  const QTemporaryDir settings;
  if (!settings.isValid()) {
    return 1;
  }
  for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
    QSettings::setPath(format, QSettings::UserScope, settings.path());
    QSettings::setPath(format, QSettings::SystemScope, settings.path());
  }
  pavona::SetSettingsNames();
  return RUN_ALL_TESTS();
}
