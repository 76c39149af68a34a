#ifndef FILUM_APPS_COMMANDS_H
#define FILUM_APPS_COMMANDS_H

// The subcommands of the filum command: each takes its settings and returns the exit code
// (0 success, 1 a meshing failure, 2 bad input); messages go to stderr.

#include <string>
#include <vector>

#include <vorn/filum/io/formats.h>
#include <vorn/filum/network.h>

#include "progress.h"

namespace filum_cli {

/// Exit codes.
constexpr int ok = 0, meshing_failed = 1, bad_input = 2;

/// How the input is read.
struct input_settings {
  std::string path;
  std::string format;          ///< "" : by extension
  std::string color_by;        ///< GeoJSON property or VTK cell array
  double merge_tolerance = 0;  ///< join nodes this close (0: equal coordinates)
  bool merge = true;           ///< join coincident nodes at all
};

/// How the output is written.
struct output_settings {
  std::string path;
  std::string format;  ///< "" : by extension
  bool binary = false;
  bool force = false;  ///< allow writing over the input
};

struct remesh_settings {
  input_settings input;
  output_settings output;
  vorn::filum::network_options options;
  std::string size_field;             ///< point array of node sizes, or ""
  std::vector<long long> hard_nodes;  ///< node numbers as the file gives them
  bool quiet = false;
};

struct convert_settings {
  input_settings input;
  output_settings output;
  bool quiet = false;
};

struct info_settings {
  input_settings input;
  double corner_angle = 30;
  bool json = false;
};

struct preview_settings {
  std::vector<input_settings> inputs;  ///< one or two networks, drawn side by side
  std::string output = "preview.svg";
  bool force = false;
};

int run_remesh(const remesh_settings& settings);
int run_convert(const convert_settings& settings);
int run_info(const info_settings& settings);
int run_preview(const preview_settings& settings);

/// Reads the input as its settings say, joining coincident nodes.
/// \throws vorn::filum::io::error naming the file.
vorn::filum::io::line_network read_input(const input_settings& input,
                                         const std::function<void(double)>& progress = {});

/// read_input as the "reading" stage of a progress bar, shown for large files.
vorn::filum::io::line_network read_input(const input_settings& input, progress_bar& bar);

/// Throws unless the output may be written: it is not the input, or force is given.
void check_not_input(const output_settings& output, const std::string& input_path);

/// Writes the network as the settings say, refusing to overwrite the input path without
/// force. \throws vorn::filum::io::error naming the file or the argument.
void write_output(const output_settings& output, const std::string& input_path,
                  const vorn::filum::io::line_network& net);

}  // namespace filum_cli

#endif
