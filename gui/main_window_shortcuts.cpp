// The keys of the main window's commands. Menu entries and buttons keep
// their captions; their mnemonic letters are part of the captions.
#include <QAction>
#include <QKeySequence>

#include "gui/main_window.h"

namespace pavona {

void MainWindow::CreateShortcuts()
{
  const MainWindowControls& c = ui_;
  c.openAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  c.saveC64FileAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  c.exportPngAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  c.exitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  c.aboutAction->setShortcut(QKeySequence(Qt::Key_F1));

  // Neither has a menu entry: the window itself carries them.
  ui_.convertAction = new QAction("Convert", this);
  ui_.convertAction->setObjectName("convertAction");
  // Return on the main keyboard and Enter on the keypad.
  ui_.convertAction->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
  addAction(ui_.convertAction);
  ui_.stopAction = new QAction("Stop", this);
  ui_.stopAction->setObjectName("stopAction");
  ui_.stopAction->setShortcut(QKeySequence(Qt::Key_Escape));
  ui_.stopAction->setEnabled(false);  // only while a run goes
  addAction(ui_.stopAction);
}

}  // namespace pavona
