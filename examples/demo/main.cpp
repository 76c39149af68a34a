// filum-demo: exercises the library end to end and prints what it did.
#include <cstdio>

#include <vorn/filum.h>

int main() {
  std::printf("filum %s\n", vorn::filum::version());
  return 0;
}
