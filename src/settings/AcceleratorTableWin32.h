// The platform accelerator table built from the key bindings, owned for the message loop.
#pragma once

#include <windows.h>

#include "config/KeyBindings.h"

class AcceleratorTable {
 public:
  // Creates the table from count bindings (at most maxKeyBindings are used).
  AcceleratorTable(const KeyBinding* bindings, int count);
  ~AcceleratorTable();
  AcceleratorTable(const AcceleratorTable&) = delete;
  AcceleratorTable& operator=(const AcceleratorTable&) = delete;

  // For TranslateAcceleratorW; none when the table could not be created.
  HACCEL Handle() const { return handle_; }

 private:
  HACCEL handle_ = nullptr;
};
