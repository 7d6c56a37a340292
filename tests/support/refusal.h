// What a pure edit refuses, as the user reads it: the message of the Refusal it raises.
#pragma once

#include <functional>
#include <string>

#include "messages/error_record.h"

namespace kolvre::testing {

// The refusal's message; empty when `edit` raises none.
inline std::string refusalOf(const std::function<void()>& edit) {
  try {
    edit();
  } catch (const Refusal& refusal) {
    return refusal.what();
  }
  return "";
}

}  // namespace kolvre::testing
