#include <gtest/gtest.h>

#include "platform/headless/headless_driver.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  glider::headless::Install();
  return RUN_ALL_TESTS();
}
