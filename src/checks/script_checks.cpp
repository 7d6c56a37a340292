#include "checks/script_checks.h"

namespace kolvre {

std::vector<Finding> checkScriptResources(const CheckContext&) {
  return {};
}

}  // namespace kolvre
