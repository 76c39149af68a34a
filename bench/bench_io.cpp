// Reading and writing networks as binary MSH, beside a raw fread / fwrite of the same
// bytes; and ASCII MSH and GeoJSON writes beside the same baseline.

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <vorn/filum/io/formats.h>

#include "support/baseline.h"

namespace {

namespace io = vorn::filum::io;

// A closed wavy loop of n segments in the plane.
io::line_network loop(std::size_t n) {
  io::line_network net;
  net.coords.resize(2 * n);
  net.edges.resize(2 * n);
  for (std::size_t k = 0; k < n; ++k) {
    const double t = 6.283185307179586 * static_cast<double>(k) / static_cast<double>(n);
    const double r = 1 + 0.1 * std::sin(40 * t);
    net.coords[2 * k] = r * std::cos(t);
    net.coords[2 * k + 1] = r * std::sin(t);
    net.edges[2 * k] = static_cast<unsigned>(k);
    net.edges[2 * k + 1] = static_cast<unsigned>((k + 1) % n);
  }
  return net;
}

std::string scratch(const char* name) {
  return (std::filesystem::temp_directory_path() / (std::string("filum_bench_") + name)).string();
}

// Writes bytes bytes of zeros with fwrite, in 1 MiB blocks.
void raw_write(const std::string& path, std::size_t bytes) {
  std::vector<char> block(1 << 20, 0);
  FILE* f = std::fopen(path.c_str(), "wb");
  for (std::size_t done = 0; done < bytes; done += block.size())
    std::fwrite(block.data(), 1, std::min(block.size(), bytes - done), f);
  std::fclose(f);
}

// Reads a whole file with fread into memory.
void raw_read(const std::string& path, std::vector<char>& into) {
  into.resize(std::filesystem::file_size(path));
  FILE* f = std::fopen(path.c_str(), "rb");
  benchmark::DoNotOptimize(std::fread(into.data(), 1, into.size(), f));
  std::fclose(f);
}

// The operation's own file rate: its segments per second times the bytes per segment.
void report_rate(benchmark::State& state, std::size_t segments, std::size_t bytes) {
  state.counters["MB_per_s"] = state.counters["items_per_second"].value *
                               static_cast<double>(bytes) / static_cast<double>(segments) / 1e6;
}

void write_format(benchmark::State& state, io::file_format format, bool binary, const char* name) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const io::line_network net = loop(n);
  const std::string path = scratch(name), base = scratch("raw");
  io::write_options options;
  options.binary = binary;
  io::write_network(path, net, format, options);
  const std::size_t bytes = std::filesystem::file_size(path);
  filum_bench::run_against_baseline(
      state, static_cast<double>(n), [] {}, [&] { io::write_network(path, net, format, options); },
      [&] { raw_write(base, bytes); });
  report_rate(state, n, bytes);
  std::filesystem::remove(path);
  std::filesystem::remove(base);
}

void read_format(benchmark::State& state, io::file_format format, bool binary, const char* name) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const std::string path = scratch(name);
  io::write_options options;
  options.binary = binary;
  io::write_network(path, loop(n), format, options);
  const std::size_t bytes = std::filesystem::file_size(path);
  std::vector<char> raw;
  filum_bench::run_against_baseline(
      state, static_cast<double>(n), [] {},
      [&] { benchmark::DoNotOptimize(io::read_network(path, format).edges.data()); },
      [&] { raw_read(path, raw); });
  report_rate(state, n, bytes);
  std::filesystem::remove(path);
}

void write_msh_binary(benchmark::State& s) {
  write_format(s, io::file_format::msh, true, "w.msh");
}
void read_msh_binary(benchmark::State& s) {
  read_format(s, io::file_format::msh, true, "r.msh");
}
void write_msh_ascii(benchmark::State& s) {
  write_format(s, io::file_format::msh, false, "wa.msh");
}
void read_msh_ascii(benchmark::State& s) {
  read_format(s, io::file_format::msh, false, "ra.msh");
}
void write_geojson(benchmark::State& s) {
  write_format(s, io::file_format::geojson, false, "w.geojson");
}

}  // namespace

// MB_per_s: file megabytes per second of the operation; ratio: its time over the raw
// fread / fwrite of the same bytes.
BENCHMARK(write_msh_binary)
    ->Arg(1 << 20)
    ->Arg(1 << 23)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);
BENCHMARK(read_msh_binary)
    ->Arg(1 << 20)
    ->Arg(1 << 23)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);
BENCHMARK(write_msh_ascii)
    ->Arg(1 << 20)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);
BENCHMARK(read_msh_ascii)
    ->Arg(1 << 20)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);
BENCHMARK(write_geojson)
    ->Arg(1 << 20)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);
