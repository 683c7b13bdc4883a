// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/DesignNames.h"

#include "windowlogic/WindowDesign.h"

namespace versemark {

std::string_view DesignName(ControlId control) {
    for (const ControlDesign& design : WindowDesign()) {
        if (design.Id == control) {
            return design.Name;
        }
    }
    return {};
}

}  // namespace versemark
