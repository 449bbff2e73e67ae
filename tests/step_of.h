#ifndef TESSARY_TESTS_STEP_OF_H
#define TESSARY_TESTS_STEP_OF_H

#include <gtest/gtest.h>

#include <string>

#include "demo/moments.h"

// The step a moment ("12.5", "224b", "12000f") names; fails the test when it names none.
inline int step_of(const std::string& moment) {
  static const ShowSteps show;
  int step = -1;
  std::string error;
  EXPECT_TRUE(show.Parse(moment, step, error)) << moment << ": " << error;
  return step;
}

#endif
