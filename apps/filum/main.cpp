// filum: remeshes, inspects, converts and draws line networks stored in mesh and GIS files.
//
//   filum remesh IN -o OUT --size H [options]
//   filum info IN [--json]
//   filum convert IN OUT
//   filum preview IN [IN2] [-o OUT.svg]
//
// Exit codes: 0 success, 1 a meshing failure, 2 bad input (arguments or files).
#include <cstdio>
#include <sstream>

#include <CLI/CLI.hpp>

#include <vorn/filum.h>

#include "commands.h"

namespace {

using namespace filum_cli;

// The input options every subcommand takes.
void add_input_options(CLI::App* app, input_settings& input, bool merge_by_default) {
  app->add_option(
      "--format", input.format,
      "input format (msh, vtk, vtu, geojson, polyline, gmt, shp); default: by extension");
  app->add_option(
      "--color-by", input.color_by,
      "GeoJSON property, shapefile attribute or VTK cell array giving the colors (default: color)");
  app->add_option("--merge-tolerance", input.merge_tolerance,
                  "join nodes closer than this (default 0: exactly equal coordinates)")
      ->check(CLI::NonNegativeNumber);
  input.merge = merge_by_default;
}

void add_output_options(CLI::App* app, output_settings& output) {
  app->add_option(
      "--output-format", output.format,
      "output format (msh, vtk, vtu, geojson, polyline, gmt, svg, shp); default: by extension");
  app->add_flag("--binary", output.binary, "write MSH as binary");
  app->add_flag("--force", output.force, "allow overwriting the input file");
}

// Splits "1,5,9" into numbers.
std::vector<long long> parse_ids(const std::string& text) {
  std::vector<long long> ids;
  std::stringstream in(text);
  std::string word;
  while (std::getline(in, word, ',')) {
    std::size_t used = 0;
    long long id = 0;
    try {
      id = std::stoll(word, &used);
    } catch (const std::exception&) {
      used = 0;
    }
    if (used == 0 || used != word.size())
      throw CLI::ValidationError("--hard-nodes",
                                 "expected node numbers separated by commas, found '" + word + "'");
    ids.push_back(id);
  }
  return ids;
}

}  // namespace

// The command: its options, then the subcommand that was asked for.
int run(int argc, char** argv) {
  CLI::App app{
      "filum: remesh, inspect, convert and draw line networks (Gmsh MSH, VTK, VTU, "
      "GeoJSON, polyline text, multi-segment text, SVG)"};
  app.set_version_flag("--version", vorn::filum::version());
  app.require_subcommand(1);

  remesh_settings remesh;
  std::string hard_nodes, placement = "sample_polyline";
  CLI::App* remesh_app = app.add_subcommand("remesh", "remesh a line network");
  remesh_app->add_option("input", remesh.input.path, "input file")->required();
  remesh_app->add_option("-o,--output", remesh.output.path, "output file")->required();
  remesh_app->add_option("--size", remesh.options.size, "target element size")
      ->check(CLI::PositiveNumber);
  remesh_app->add_option("--size-field", remesh.size_field,
                         "point array of node sizes (others: --size)");
  remesh_app
      ->add_option("--chordal-tol", remesh.options.chordal_tol,
                   "0: polylines; > 0: spline within this distance; < 0: spline, sag a fraction of "
                   "the radius")
      ->capture_default_str();
  remesh_app
      ->add_option("--corner-angle", remesh.options.corner_angle,
                   "turning angle (degrees) that makes a corner")
      ->check(CLI::Range(0.0, 180.0))
      ->capture_default_str();
  remesh_app
      ->add_option("--gradation", remesh.options.max_gradation,
                   "largest size ratio of neighboring elements (0: none)")
      ->check(CLI::NonNegativeNumber);
  remesh_app
      ->add_option("--min-size", remesh.options.min_size, "smallest size the curvature may ask for")
      ->check(CLI::NonNegativeNumber);
  remesh_app
      ->add_option("--min-elements", remesh.options.min_elements, "elements per line, at least")
      ->check(CLI::PositiveNumber);
  remesh_app
      ->add_option("--max-elements", remesh.options.max_elements, "elements per line, at most")
      ->check(CLI::PositiveNumber);
  remesh_app->add_option(
      "--hard-nodes", hard_nodes,
      "nodes that must survive, e.g. 3,17 (MSH: node tags; others: indices from 0)");
  remesh_app->add_option("--threads", remesh.options.threads, "threads (0: all)");
  remesh_app->add_option("--placement", placement, "where new nodes go")
      ->check(CLI::IsMember({"sample_polyline", "on_curve"}))
      ->capture_default_str();
  remesh_app->add_flag("-q,--quiet", remesh.quiet, "no progress bar and no summary");
  add_input_options(remesh_app, remesh.input, true);
  add_output_options(remesh_app, remesh.output);

  info_settings info;
  CLI::App* info_app = app.add_subcommand("info", "print the figures of a line network");
  info_app->add_option("input", info.input.path, "input file")->required();
  info_app->add_flag("--json", info.json, "print JSON");
  info_app
      ->add_option("--corner-angle", info.corner_angle, "turning angle (degrees) that cuts lines")
      ->check(CLI::Range(0.0, 180.0))
      ->capture_default_str();
  add_input_options(info_app, info.input, true);

  convert_settings convert;
  CLI::App* convert_app = app.add_subcommand("convert", "convert a line network to another format");
  convert_app->add_option("input", convert.input.path, "input file")->required();
  convert_app->add_option("output", convert.output.path, "output file")->required();
  convert_app->add_flag("-q,--quiet", convert.quiet, "no progress bar and no summary");
  add_input_options(convert_app, convert.input, false);
  add_output_options(convert_app, convert.output);

  preview_settings preview;
  std::vector<std::string> preview_inputs;
  input_settings preview_input;
  CLI::App* preview_app =
      app.add_subcommand("preview", "draw one network, or two side by side, as SVG");
  preview_app->add_option("inputs", preview_inputs, "one or two input files")
      ->required()
      ->expected(1, 2);
  preview_app->add_option("-o,--output", preview.output, "SVG file")->capture_default_str();
  preview_app->add_flag("--force", preview.force, "allow overwriting an input file");
  add_input_options(preview_app, preview_input, false);

  try {
    app.parse(argc, argv);
    remesh.hard_nodes = parse_ids(hard_nodes);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return bad_input;
  }
  remesh.options.node_placement = placement == "on_curve" ? vorn::filum::placement::on_curve
                                                          : vorn::filum::placement::sample_polyline;
  try {
    if (*remesh_app) return run_remesh(remesh);
    if (*info_app) return run_info(info);
    if (*convert_app) return run_convert(convert);
    for (const std::string& path : preview_inputs) {
      preview.inputs.push_back(preview_input);
      preview.inputs.back().path = path;
    }
    return run_preview(preview);
  } catch (const vorn::filum::io::error& e) {
    std::fprintf(stderr, "filum: %s\n", e.what());
    return bad_input;
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "filum: out of memory\n");
    return meshing_failed;
  }
}

int main(int argc, char** argv) {
  try {
    return run(argc, argv);
  } catch (...) {
    std::fputs("filum: internal error while setting up the command\n", stderr);
    return 1;
  }
}
