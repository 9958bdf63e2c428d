#include "gui/gui_progress.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QThread>
#include <algorithm>
#include <memory>
#include <vector>

#include "colour/mix_palette.h"
#include "gui/picture_view.h"

namespace pavona {

GuiProgress::GuiProgress(QLabel* status, QProgressBar* progressBar, PictureView* resultImage,
                         PictureView* mixImage, QAbstractButton* convertButton)
    : status_(status),
      progressBar_(progressBar),
      resultImage_(resultImage),
      mixImage_(mixImage),
      convertButton_(convertButton)
{
}

template <typename Apply>
void GuiProgress::OnWidgetThread(Apply&& apply)
{
  if (QThread::currentThread() == context_.thread()) {
    apply(true);
    return;
  }
  QMetaObject::invokeMethod(
      &context_, [apply = std::forward<Apply>(apply)]() mutable { apply(false); },
      Qt::QueuedConnection);
}

void GuiProgress::SetStatus(std::string_view text)
{
  OnWidgetThread(
      [this, text = QString::fromUtf8(text.data(), qsizetype(text.size()))](bool onOwnThread) {
        if (status_) {
          status_->setText(text);
          if (onOwnThread) {
            status_->repaint();
          }
        }
      });
}

void GuiProgress::SetProgress(int position)
{
  OnWidgetThread([this, position](bool onOwnThread) {
    if (progressBar_) {
      progressBar_->setValue(position);
      if (onOwnThread) {
        progressBar_->repaint();
      }
    }
  });
}

void GuiProgress::ShowRows(const Picture& picture, int firstRow, int rowCount)
{
  const int first = std::clamp(firstRow, 0, PictureHeight);
  const int last = std::clamp(firstRow + rowCount, first, PictureHeight);
  if (first == last) {
    return;
  }
  // Only the finished rows are copied: the stage goes on writing the rest.
  std::vector<std::uint32_t> rows(picture.begin() + PixelIndex(0, first),
                                  picture.begin() + PixelIndex(0, last));
  OnWidgetThread([this, rows = std::move(rows), first](bool onOwnThread) {
    if (resultImage_) {
      resultImage_->ShowRowPixels(rows, first);
      if (onOwnThread) {
        resultImage_->repaint();
      }
    }
  });
}

void GuiProgress::ShowMixTable(const MixTable& table)
{
  auto image = std::make_shared<MixTableImage>(DrawMixPalette(table));
  OnWidgetThread([this, image](bool onOwnThread) {
    if (mixImage_) {
      mixImage_->SetImage(ImageFromPixels(*image, MixImageWidth, MixImageHeight));
      if (onOwnThread) {
        mixImage_->repaint();
      }
    }
  });
}

void GuiProgress::ReportStrayColour(std::uint32_t colour)
{
  OnWidgetThread([this, colour](bool) {
    if (convertButton_) {
      convertButton_->setText(QString::number(colour));
    }
  });
}

bool GuiProgress::ShouldContinue() const
{
  return !stopped_.load(std::memory_order_relaxed);
}

void GuiProgress::Stop()
{
  stopped_.store(true, std::memory_order_relaxed);
}

void GuiProgress::Resume()
{
  stopped_.store(false, std::memory_order_relaxed);
}

}  // namespace pavona
