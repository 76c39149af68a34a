// `filum convert`, and the reading and writing every subcommand shares.
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "commands.h"
#include "progress.h"

namespace filum_cli {

namespace io = vorn::filum::io;

io::line_network read_input(const input_settings& input,
                            const std::function<void(double)>& progress) {
  const io::file_format format =
      input.format.empty() ? io::format_of(input.path) : io::parse_format(input.format);
  io::read_options options;
  options.color_by = input.color_by;
  options.progress = progress;
  io::line_network net = io::read_network(input.path, format, options);
  if (input.merge) io::merge_coincident_nodes(net, input.merge_tolerance);
  return net;
}

io::line_network read_input(const input_settings& input, progress_bar& bar) {
  std::error_code ignored;
  bar.stage("reading", std::filesystem::file_size(input.path, ignored) > progress_bytes);
  return read_input(input, [&](double f) { bar.update(f); });
}

void check_not_input(const output_settings& output, const std::string& input_path) {
  std::error_code ignored;
  if (!output.force && std::filesystem::equivalent(output.path, input_path, ignored))
    throw io::error(output.path + ": is the input file; pass --force to overwrite it");
}

void write_output(const output_settings& output, const std::string& input_path,
                  const io::line_network& net) {
  const io::file_format format =
      output.format.empty() ? io::format_of(output.path) : io::parse_format(output.format);
  check_not_input(output, input_path);
  io::write_options options;
  options.binary = output.binary;
  io::write_network(output.path, net, format, options);
}

int run_convert(const convert_settings& settings) {
  const auto start = std::chrono::steady_clock::now();
  check_not_input(settings.output, settings.input.path);
  progress_bar bar(!settings.quiet && stderr_is_terminal());
  const io::line_network net = read_input(settings.input, bar);
  bar.stage("writing", net.element_count() > progress_segments);
  write_output(settings.output, settings.input.path, net);
  bar.finish();
  if (!settings.quiet)
    std::fprintf(stderr, "filum convert: %zu elements, %zu nodes written to %s in %.2f s\n",
                 net.element_count(), net.node_count(), settings.output.path.c_str(),
                 seconds_since(start));
  return ok;
}

}  // namespace filum_cli
