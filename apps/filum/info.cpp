// `filum info`: the figures of a network, as text or JSON.
#include <cstdio>

#include <nlohmann/json.hpp>

#include "commands.h"
#include "network_summary.h"

namespace filum_cli {

int run_info(const info_settings& settings) {
  const vorn::filum::io::line_network net = read_input(settings.input);
  namespace io = vorn::filum::io;
  const io::file_format format = settings.input.format.empty()
                                     ? io::format_of(settings.input.path)
                                     : io::parse_format(settings.input.format);
  const network_summary s =
      summarize(net, settings.corner_angle,
                format == io::file_format::geojson || format == io::file_format::gmt);
  if (settings.json) {
    nlohmann::json j = {{"file", settings.input.path},
                        {"dimension", net.dim},
                        {"nodes", s.nodes},
                        {"elements", s.elements},
                        {"lines", s.lines},
                        {"closed_loops", s.closed_loops},
                        {"colors", s.colors},
                        {"total_length", s.total_length},
                        {"bounding_box", {{"min", s.low}, {"max", s.high}}},
                        {"shortest_element", s.shortest},
                        {"longest_element", s.longest},
                        {"looks_like_longitude_latitude", s.looks_geographic}};
    std::printf("%s\n", j.dump(2).c_str());
    return ok;
  }
  std::printf("%s: %dD network\n", settings.input.path.c_str(), net.dim);
  std::printf("  nodes              %zu\n  elements           %zu\n", s.nodes, s.elements);
  std::printf("  lines              %zu (cut at corners above %g degrees)\n", s.lines,
              settings.corner_angle);
  std::printf("  closed loops       %zu\n  colors            %zu\n", s.closed_loops, s.colors);
  std::printf("  total length       %.10g\n", s.total_length);
  std::printf("  shortest element   %.10g\n  longest element    %.10g\n", s.shortest, s.longest);
  std::printf("  bounding box      ");
  for (std::size_t i = 0; i < s.low.size(); ++i)
    std::printf(" [%.10g, %.10g]", s.low[i], s.high[i]);
  std::printf("\n");
  if (s.looks_geographic)
    std::printf(
        "  note: the coordinates look like longitude/latitude in degrees; filum uses them as "
        "given (no projection), so lengths and sizes are in degrees\n");
  return ok;
}

}  // namespace filum_cli
