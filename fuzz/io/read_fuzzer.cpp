// One reader, chosen by FILUM_FUZZ_FORMAT at build time, on arbitrary bytes: it returns a
// valid network or throws io::error, nothing else (no crash, no leak, no read out of bounds).
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include <vorn/filum/io/formats.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace io = vorn::filum::io;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  try {
    const io::line_network net = io::read_network(in, "fuzz", io::file_format::FILUM_FUZZ_FORMAT);
    io::validate(net, "fuzz");
  } catch (const io::error&) {
  }
  return 0;
}
