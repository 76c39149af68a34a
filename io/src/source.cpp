#include "source.h"

#include <algorithm>
#include <cmath>

namespace vorn {
namespace filum {
namespace io {

source::source(std::istream& in, std::string name, const read_options& options,
               std::uint64_t total_bytes)
    : in_(in), name_(std::move(name)), options_(options), total_(total_bytes) {}

bool source::next_line(std::string& line) {
  if (!std::getline(in_, line)) return false;
  ++line_;
  offset_ += line.size() + 1;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (offset_ >= next_report_) report_progress();
  return true;
}

std::string& source::need_line(const char* what) {
  while (next_line(line_buffer_)) {
    if (line_buffer_.find_first_not_of(" \t") != std::string::npos) return line_buffer_;
  }
  ++line_;
  fail(std::string("expected ") + what + ", found the end of the file");
}

void source::read_bytes(void* to, std::size_t n, const char* what) {
  in_.read(static_cast<char*>(to), static_cast<std::streamsize>(n));
  const auto got = static_cast<std::uint64_t>(in_.gcount());
  if (got != n) {
    offset_ += got;
    fail_at_byte(std::string("expected ") + what + ", found the end of the file");
  }
  offset_ += n;
  if (offset_ >= next_report_) report_progress();
}

void source::check_room(std::uint64_t count, unsigned bytes_each, const std::string& what,
                        bool binary) const {
  const std::uint64_t left = total_ > offset_ ? total_ - offset_ : 0;
  if (total_ == 0 || count <= left / bytes_each) return;
  const std::string message = "expected " + std::to_string(count) + " " + what + ", found " +
                              std::to_string(left) + " bytes left in the file";
  binary ? fail_at_byte(message) : fail(message);
}

std::size_t source::reservable(std::uint64_t count, unsigned bytes_each) const {
  if (total_ == 0) return static_cast<std::size_t>(std::min<std::uint64_t>(count, 1u << 16));
  const std::uint64_t left = total_ > offset_ ? total_ - offset_ : 0;
  return static_cast<std::size_t>(std::min<std::uint64_t>(count, left / bytes_each));
}

void source::fail(const std::string& message) const {
  throw error(name_ + ":" + std::to_string(line_) + ": " + message);
}

void source::fail_at_byte(const std::string& message) const {
  throw error(name_ + ": byte offset " + std::to_string(offset_) + ": " + message);
}

void source::report_progress() {
  if (total_ == 0 || !options_.progress) {
    next_report_ = ~std::uint64_t(0);
    return;
  }
  options_.progress(std::min(1.0, static_cast<double>(offset_) / static_cast<double>(total_)));
  next_report_ = offset_ + total_ / 100 + 1;
}

std::vector<std::string_view> split_words(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t k = 0;
  while (k < text.size()) {
    while (k < text.size() && (text[k] == ' ' || text[k] == '\t'))
      ++k;
    const std::size_t start = k;
    while (k < text.size() && text[k] != ' ' && text[k] != '\t')
      ++k;
    if (k > start) words.push_back(text.substr(start, k - start));
  }
  return words;
}

double parse_coordinate(const source& src, std::string_view word) {
  double x = 0;
  if (!parse_number(word, x) || !std::isfinite(x))
    src.fail("expected a finite coordinate, found '" + std::string(word) + "'");
  return x;
}

long long parse_integer(const source& src, std::string_view word, const char* what, long long low,
                        long long high) {
  long long x = 0;
  if (!parse_number(word, x) || x < low || x > high)
    src.fail(std::string("expected ") + what + ", found '" + std::string(word) + "'");
  return x;
}

void append_double(std::string& out, double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

void finish_read(line_network& net) {
  net.dim = 2;
  for (std::size_t k = 2; k < net.coords.size() && net.dim == 2; k += 3)
    if (net.coords[k] != 0) net.dim = 3;
  if (net.dim == 2) {
    const std::size_t n = net.coords.size() / 3;
    for (std::size_t k = 0; k < n; ++k) {
      net.coords[2 * k] = net.coords[3 * k];
      net.coords[2 * k + 1] = net.coords[3 * k + 1];
    }
    net.coords.resize(2 * n);
    net.coords.shrink_to_fit();
  }
  if (std::all_of(net.colors.begin(), net.colors.end(), [](unsigned c) { return c == none; }))
    net.colors.clear();
}

}  // namespace io
}  // namespace filum
}  // namespace vorn
