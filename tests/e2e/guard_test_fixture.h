#ifndef VELMORA_TESTS_E2E_GUARD_TEST_FIXTURE_H_
#define VELMORA_TESTS_E2E_GUARD_TEST_FIXTURE_H_

#include <gtest/gtest.h>

#include <string>

#include "probe.h"

namespace velmora::probe {

// A fresh guard per test, its main window found and shown.
class GuardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string exe = GetEnv("VELMORA_EXE");
    ASSERT_FALSE(exe.empty()) << "VELMORA_EXE is not set";
    ASSERT_TRUE(guard_.Start(exe)) << LastError();
    window_ = guard_.WaitForWindow({"TFrmain", ""});
    ASSERT_NE(window_, nullptr) << LastError();
    ASSERT_TRUE(WaitUntil([this] { return IsShown(window_); })) << "main window never shown";
  }

  Process guard_;
  HWND window_ = nullptr;
};

}  // namespace velmora::probe

#endif  // VELMORA_TESTS_E2E_GUARD_TEST_FIXTURE_H_
