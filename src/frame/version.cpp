#include <vorn/filum.h>

namespace vorn {
namespace filum {

const char* version() noexcept {
  static const char text[] = "5.4.1.0";
  return text;
}

}  // namespace filum
}  // namespace vorn
