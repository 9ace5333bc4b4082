// Base fixture of the end-to-end tests: names scratch folders after the test, turns a crash of the test
// process into a message instead of a hang, and, when a test fails, saves a screenshot of the desktop as
// <work folder>\<Suite.Test>.png before the program is killed.
#pragma once

#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "tests/e2e/driver.h"

namespace e2e {

class EndToEndTest : public ::testing::Test {
 protected:
  EndToEndTest() { InstallCrashGuard(); }

  // "Suite.Test" of the running test, usable as a file or folder name.
  static std::string TestName() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    return name;
  }

  // Runs before the members are destroyed, so an App member still shows its windows.
  void TearDown() override {
    if (HasFailure()) {
      std::string shot = JoinPath(WorkFolder(), TestName() + ".png");
      if (Screenshot(shot)) std::cerr << "screenshot of the failure: " << shot << "\n";
    }
  }
};

}  // namespace e2e
