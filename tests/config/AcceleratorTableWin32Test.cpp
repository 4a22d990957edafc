// The Win32 accelerator table made from the key bindings.
#include "config/AcceleratorTableWin32.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(AcceleratorTable, HoldsEveryBindingInOrder) {
  AcceleratorTable table(defaultKeyBindings.data(), keyBindingCount);
  ASSERT_NE(table.Handle(), nullptr);
  int count = CopyAcceleratorTableW(table.Handle(), nullptr, 0);
  ASSERT_EQ(count, keyBindingCount);
  std::vector<ACCEL> entries(count);
  CopyAcceleratorTableW(table.Handle(), entries.data(), count);
  for (int i = 0; i < count; ++i) {
    SCOPED_TRACE(i);
    // The table may mark its last entry; the flags the bindings asked for are all there.
    EXPECT_EQ(entries[i].fVirt & 0x1F, defaultKeyBindings[i].flags);
    EXPECT_EQ(entries[i].key, defaultKeyBindings[i].key);
    EXPECT_EQ(entries[i].cmd, defaultKeyBindings[i].command);
  }
}

TEST(AcceleratorTable, NoBindingsGiveNoTable) {
  AcceleratorTable table(nullptr, 0);
  EXPECT_EQ(table.Handle(), nullptr);
}

}  // namespace
