#include "progress.h"

#include <cstdio>

#include <unistd.h>

namespace filum_cli {

void progress_bar::stage(const std::string& name, bool big) {
  finish();
  stage_ = name;
  shown_ = enabled_ && big;
  last_percent_ = -1;
  update(0);
}

void progress_bar::update(double fraction) {
  if (!shown_) return;
  const int percent = static_cast<int>(fraction * 100);
  if (percent == last_percent_) return;
  last_percent_ = percent;
  const int width = 40, filled = percent * width / 100;
  std::fprintf(stderr, "\r%-10s [%.*s%*s] %3d%%", stage_.c_str(), filled,
               "========================================", width - filled, "", percent);
  std::fflush(stderr);
}

void progress_bar::finish() {
  if (!shown_) return;
  std::fputc('\n', stderr);
  shown_ = false;
}

bool stderr_is_terminal() {
  return ::isatty(2) == 1;
}

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace filum_cli
