#include "cli/stderr_progress.h"

#include <cstdio>

namespace pavona::cli {

void StderrProgress::SetStatus(std::string_view text)
{
  // The stages write a single space when they end; keep the last real text.
  if (text.find_first_not_of(' ') == std::string_view::npos) {
    return;
  }
  status_ = std::string(text);
  position_ = 0;
  Redraw();
}

void StderrProgress::SetProgress(int position)
{
  if (position == position_) {
    return;
  }
  position_ = position;
  Redraw();
}

void StderrProgress::ReportStrayColour(std::uint32_t colour)
{
  Finish();
  std::fprintf(stderr, "warning: a pixel of colour %06X is not in the mix table\n",
               unsigned(colour));
}

void StderrProgress::Redraw()
{
  std::fprintf(stderr, "\r\033[K%s %3d%%", status_.c_str(), position_ * 100 / 200);
  std::fflush(stderr);
  shown_ = true;
}

void StderrProgress::Finish()
{
  if (shown_) {
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    shown_ = false;
  }
}

}  // namespace pavona::cli
