// What both sides of the platform promise for WindowSystem::FindWindow. Each side's test makes
// a top-level window of class "OmbrixFindTest" with caption "Find me" and passes it here.
#pragma once

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace ombrix {

inline void ExpectFindWindowContract(WindowSystem& windows, Hwnd window) {
  EXPECT_EQ(windows.FindWindow("OmbrixFindTest", "Find me"), window);
  // An empty class name or caption matches any.
  EXPECT_EQ(windows.FindWindow("OmbrixFindTest", ""), window);
  EXPECT_EQ(windows.FindWindow("", "Find me"), window);
  EXPECT_EQ(windows.FindWindow("OmbrixFindTest", "Find me not"), 0);
  EXPECT_EQ(windows.FindWindow("OmbrixFindTestNot", ""), 0);
}

}  // namespace ombrix
