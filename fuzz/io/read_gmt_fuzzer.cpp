// Fuzzes the gmt reader.
#include "read_fuzzer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return filum_fuzz::read_bytes(data, size, vorn::filum::io::file_format::gmt);
}
