#ifndef FILUM_IO_SOURCE_H
#define FILUM_IO_SOURCE_H

// The input of a reader: lines or raw bytes from a stream, with the line number or byte
// offset every message names, and progress reports.

#include <charconv>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include <vorn/filum/io/formats.h>

namespace vorn {
namespace filum {
namespace io {

class source {
 public:
  source(std::istream& in, std::string name, const read_options& options,
         std::uint64_t total_bytes);

  /// The next line without its end ('\r' dropped); false at the end of the data.
  bool next_line(std::string& line);
  /// The next line that is not blank; fails with "expected <what>" at the end.
  std::string& need_line(const char* what);
  /// Reads n bytes; fails with the byte offset when the data ends first.
  void read_bytes(void* to, std::size_t n, const char* what);
  template <class T>
  T read_binary(const char* what) {
    T value;
    read_bytes(&value, sizeof value, what);
    return value;
  }

  /// Fails unless count items of at least bytes_each bytes can still follow, so that a
  /// count in a header never makes the reader allocate more than the file could fill.
  void check_room(std::uint64_t count, unsigned bytes_each, const std::string& what,
                  bool binary) const;
  /// At most count, and at most what the rest of the data could hold at bytes_each each.
  std::size_t reservable(std::uint64_t count, unsigned bytes_each) const;

  std::size_t line() const { return line_; }
  std::uint64_t offset() const { return offset_; }
  const std::string& name() const { return name_; }
  const read_options& options() const { return options_; }
  std::istream& stream() { return in_; }

  /// Throws "name:line: message".
  [[noreturn]] void fail(const std::string& message) const;
  /// Throws "name: byte offset N: message".
  [[noreturn]] void fail_at_byte(const std::string& message) const;
  /// Calls the progress callback when another percent has been read.
  void report_progress();

 private:
  std::istream& in_;
  std::string name_;
  const read_options& options_;
  std::uint64_t total_;
  std::size_t line_ = 0;
  std::uint64_t offset_ = 0;
  std::uint64_t next_report_ = 0;
  std::string line_buffer_;
};

/// Splits text at spaces and tabs.
std::vector<std::string_view> split_words(std::string_view text);

/// Parses a whole word as a number of type T; false when it is not one.
template <class T>
bool parse_number(std::string_view word, T& value) {
  const char* first = word.data();
  const char* last = first + word.size();
  if (first != last && *first == '+') ++first;
  const auto result = std::from_chars(first, last, value);
  return result.ec == std::errc() && result.ptr == last && first != last;
}

/// A word as a finite coordinate, or a failure naming it.
double parse_coordinate(const source& src, std::string_view word);
/// A word as a whole number in [low, high], or a failure naming what was expected.
long long parse_integer(const source& src, std::string_view word, const char* what,
                        long long low = 0, long long high = 0x7FFFFFFFFFFFFFFF);

/// Appends the shortest decimal that reads back to the same double.
void append_double(std::string& out, double value);

/// Finishes a network read with 3 coordinates per node: in the plane (dim 2, the zeros
/// dropped) when every z is 0; colors cleared when no element has one.
void finish_read(line_network& net);

}  // namespace io
}  // namespace filum
}  // namespace vorn

#endif
