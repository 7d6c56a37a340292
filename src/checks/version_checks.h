// The checks of version information: the language blocks of StringFileInfo and the pairs of
// VarFileInfo's Translation, which the system reads to find a block, out of step.
#pragma once

#include <vector>

#include "checks/branches.h"
#include "checks/check_context.h"
#include "checks/findings.h"

namespace kolvre {

// A block without its pair in Translation, and a pair without its block, in each compiled
// VERSIONINFO that has a Translation whose numbers read.
void versionTranslations(const CheckContext& context, const ConditionalBranches& branches,
                         std::vector<Finding>& found);

}  // namespace kolvre
