#include "polyline_reader.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace demo {
namespace {

// Splits a line (without its comment) into numbers; false when a word is not a finite
// number.
bool parse_numbers(const std::string& text, std::vector<double>& numbers, std::string& bad) {
  numbers.clear();
  std::istringstream words(text);
  std::string word;
  while (words >> word) {
    char* end = nullptr;
    const double x = std::strtod(word.c_str(), &end);
    if (end == word.c_str() || *end != '\0' || !std::isfinite(x)) {
      bad = word;
      return false;
    }
    numbers.push_back(x);
  }
  return true;
}

// Closes the current block: checks its length, detects a closed loop.
bool finish_block(polyline& block, int dim, std::size_t first_line, polyline_file& out,
                  std::string& error) {
  if (block.points.empty()) return true;
  const std::size_t n = block.points.size() / static_cast<std::size_t>(dim);
  if (n < 2) {
    error = "line " + std::to_string(first_line) + ": a polyline needs at least 2 points";
    return false;
  }
  bool closed = n >= 4;
  for (int i = 0; i < dim && closed; ++i)
    closed = block.points[i] == block.points[(n - 1) * dim + i];
  if (closed) block.points.resize((n - 1) * dim);
  block.closed = closed;
  out.lines.push_back(std::move(block));
  block = polyline();
  return true;
}

}  // namespace

bool read_polylines(std::istream& in, polyline_file& out, std::string& error) {
  out = polyline_file();
  polyline block;
  std::size_t block_start = 0;
  std::string text;
  std::vector<double> numbers;
  for (std::size_t number = 1; std::getline(in, text); ++number) {
    const std::size_t hash = text.find('#');
    if (hash != std::string::npos) text.resize(hash);
    std::string bad;
    if (!parse_numbers(text, numbers, bad)) {
      error = "line " + std::to_string(number) + ": '" + bad + "' is not a finite number";
      return false;
    }
    if (numbers.empty()) {
      if (!finish_block(block, out.dim, block_start, out, error)) return false;
      continue;
    }
    if (numbers.size() != 2 && numbers.size() != 3) {
      error = "line " + std::to_string(number) + ": expected 2 or 3 coordinates, found " +
              std::to_string(numbers.size());
      return false;
    }
    if (out.dim == 0) out.dim = static_cast<int>(numbers.size());
    if (static_cast<int>(numbers.size()) != out.dim) {
      error = "line " + std::to_string(number) + ": " + std::to_string(numbers.size()) +
              " coordinates where the file uses " + std::to_string(out.dim);
      return false;
    }
    if (block.points.empty()) block_start = number;
    block.points.insert(block.points.end(), numbers.begin(), numbers.end());
  }
  if (!finish_block(block, out.dim, block_start, out, error)) return false;
  if (out.lines.empty()) {
    error = "the file holds no polyline";
    return false;
  }
  return true;
}

}  // namespace demo
