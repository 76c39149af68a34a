#ifndef FILUM_FUZZ_IO_READ_FUZZER_H
#define FILUM_FUZZ_IO_READ_FUZZER_H

// One reader on arbitrary bytes: it returns a valid network or throws io::error, nothing
// else (no crash, no leak, no read out of bounds).

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include <vorn/filum/io/formats.h>

namespace filum_fuzz {

inline int read_bytes(const std::uint8_t* data, std::size_t size,
                      vorn::filum::io::file_format format) {
  namespace io = vorn::filum::io;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  try {
    const io::line_network net = io::read_network(in, "fuzz", format);
    io::validate(net, "fuzz");
  } catch (const io::error&) {
  }
  return 0;
}

}  // namespace filum_fuzz

#endif
