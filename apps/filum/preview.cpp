// `filum preview`: an SVG picture of one network, or of two side by side.
#include <cstdio>
#include <filesystem>

#include "commands.h"

namespace filum_cli {

namespace io = vorn::filum::io;

int run_preview(const preview_settings& settings) {
  std::vector<io::line_network> nets;
  for (const input_settings& input : settings.inputs) {
    std::error_code ignored;
    if (!settings.force && std::filesystem::equivalent(settings.output, input.path, ignored))
      throw io::error(settings.output + ": is an input file; pass --force to overwrite it");
    nets.push_back(read_input(input));
  }
  std::vector<io::svg_panel> panels;
  for (std::size_t k = 0; k < nets.size(); ++k)
    panels.push_back({&nets[k], std::filesystem::path(settings.inputs[k].path).filename().string() +
                                    ": " + std::to_string(nets[k].element_count()) + " elements"});
  io::write_file_atomically(settings.output,
                            [&](std::ostream& out) { io::write_svg(out, panels); });
  std::fprintf(stderr, "filum preview: wrote %s\n", settings.output.c_str());
  return ok;
}

}  // namespace filum_cli
