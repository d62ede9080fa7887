// The entry point of every Windows test program: PROGRAM PATH-OF-LKIEWindlock.dll [gtest flags].
#include <gtest/gtest.h>

#include <cstdio>

#include "support/run_tests.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s PATH-OF-LKIEWindlock.dll [gtest flags]\n", argv[0]);
    return 2;
  }
  return windlock_test::RunTestsAgainst(argv[0], argv[1]);
}
