// A resource list double: keeps the bound index and the current row, counts refreshes.
#pragma once

#include "document/document.h"

namespace kolvre::testing {

class RecordingList : public ResourceList {
 public:
  ResourceIndex bound;
  int row = 0;
  int stabilized = 0;
  int statusCleared = 0;

  void bind(const ResourceIndex& index) override {
    bound = index;
    row = 1;
  }
  void setCurrentRow(int r) override { row = r; }
  int currentRow() const override { return row; }
  void stabilize() override { ++stabilized; }
  void clearStatusText() override { ++statusCleared; }
};

}  // namespace kolvre::testing
