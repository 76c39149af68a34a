#ifndef FILUM_APPS_PROGRESS_H
#define FILUM_APPS_PROGRESS_H

// A progress bar on stderr for large inputs, drawn only when stderr is a terminal.

#include <chrono>
#include <cstddef>
#include <string>

namespace filum_cli {

/// Inputs above this many segments (or files above this many bytes) get a progress bar.
constexpr std::size_t progress_segments = 1000000;
constexpr std::size_t progress_bytes = 24 * progress_segments;

class progress_bar {
 public:
  /// \param enabled draw at all (stderr is a terminal and --quiet was not given).
  explicit progress_bar(bool enabled) : enabled_(enabled) {}
  ~progress_bar() { finish(); }

  /// Starts a stage ("reading", "remeshing", ...); shown when big is true.
  void stage(const std::string& name, bool big);
  /// The fraction of the current stage done, in [0, 1].
  void update(double fraction);
  /// Ends the current line.
  void finish();

 private:
  bool enabled_;
  bool shown_ = false;
  int last_percent_ = -1;
  std::string stage_;
};

/// True when stderr is a terminal.
bool stderr_is_terminal();

/// Seconds since start.
double seconds_since(std::chrono::steady_clock::time_point start);

}  // namespace filum_cli

#endif
