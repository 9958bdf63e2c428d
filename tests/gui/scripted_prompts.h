#pragma once

#include <QSignalSpy>
#include <QString>
#include <QStringList>
#include <deque>

#include "gui/user_prompts.h"
#include "gui_test_support.h"

namespace pavona {

// Answers the window's file dialogs from a list, in order (an empty answer
// is a cancelled dialog), and keeps what was asked and every error shown.
class ScriptedPrompts final : public UserPrompts {
 public:
  QString AskOpenFileName(QWidget*, const QString& presetName, const QString& filters) override
  {
    openQuestions << presetName + " | " + filters;
    return NextAnswer();
  }
  QString AskSaveFileName(QWidget*, const QString& presetName, const QString& filter) override
  {
    saveQuestions << presetName + " | " + filter;
    return NextAnswer();
  }
  // The file type chosen is the next of chosenFilters, else the first offered.
  QString AskSaveFileChoice(QWidget*, const QString& presetName, const QString& filters,
                            QString* chosenFilter) override
  {
    saveQuestions << presetName + " | " + filters;
    if (chosenFilters.empty()) {
      *chosenFilter = filters.section(";;", 0, 0);
    } else {
      *chosenFilter = chosenFilters.front();
      chosenFilters.pop_front();
    }
    return NextAnswer();
  }
  // The next of replaceAnswers; no when there is none.
  bool AskReplace(QWidget*, const QString& path) override
  {
    replaceQuestions << path;
    if (replaceAnswers.empty()) {
      return false;
    }
    const bool answer = replaceAnswers.front();
    replaceAnswers.pop_front();
    return answer;
  }
  void ShowError(QWidget*, const QString& text) override { errors << text; }

  std::deque<QString> answers;
  std::deque<QString> chosenFilters;
  std::deque<bool> replaceAnswers;
  QStringList replaceQuestions;
  QStringList openQuestions;
  QStringList saveQuestions;
  QStringList errors;

 private:
  QString NextAnswer()
  {
    if (answers.empty()) {
      return {};
    }
    QString answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

// Pixels of a shown 320 x 200 image that differ from a picture.
inline int DifferingPixels(const PictureView& view, const Picture& picture)
{
  int differing = 0;
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < PictureWidth; ++x) {
      differing += view.PixelAt(x, y) != picture[PixelIndex(x, y)];
    }
  }
  return differing;
}

// A started main window whose dialogs are answered by the test.
class ScriptedWindowTest : public MainWindowTest {
 protected:
  void SetUp() override
  {
    MainWindowTest::SetUp();
    auto prompts = std::make_unique<ScriptedPrompts>();
    prompts_ = prompts.get();
    window().SetPrompts(std::move(prompts));
  }

  ScriptedPrompts& prompts() { return *prompts_; }

  // Clicks "Load Bitmap / JPG" and waits until the file answered is read and
  // shown, or refused.
  bool LoadAndWait()
  {
    QSignalSpy finished(&window(), &MainWindow::PictureLoadFinished);
    Click(c().loadPictureButton);
    return finished.wait(60'000);
  }

  // Does what opens a picture file (a drop, a named file) and waits until
  // the file is read and shown, or refused; false when nothing ended.
  template <typename Open>
  bool OpenAndWait(Open open)
  {
    QSignalSpy finished(&window(), &MainWindow::PictureLoadFinished);
    open();
    return !finished.isEmpty() || finished.wait(60'000);
  }

  // Presses "Convert" and waits until the result is shown. Generous: the
  // sanitizer build converts many times slower.
  bool ConvertAndWait()
  {
    QSignalSpy finished(&window(), &MainWindow::ConversionFinished);
    Click(c().convertButton);
    return finished.wait(300'000);
  }

 private:
  ScriptedPrompts* prompts_ = nullptr;
};

}  // namespace pavona
