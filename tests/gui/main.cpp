#include <gtest/gtest.h>

#include <QApplication>

// The widgets need a QApplication; without a display they run offscreen
// (test discovery starts the program without the test environment).
int main(int argc, char* argv[])
{
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
