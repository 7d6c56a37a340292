// The checks of a script's resources other than its dialogs: string IDs defined twice in one
// language, files named that are missing, menu item IDs used twice in one menu, accelerators
// whose ID no menu item has, a key twice in one accelerator table.
#pragma once

#include <vector>

#include "checks/check_context.h"
#include "checks/findings.h"

namespace kolvre {

std::vector<Finding> checkScriptResources(const CheckContext& context);

}  // namespace kolvre
