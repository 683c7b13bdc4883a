// SPDX-License-Identifier: GPL-3.0-or-later
// Linux has no common-controls library: the probe is false, so no manifest is
// written, and there is no Windows version.
#include "platform/CommonControls.h"

namespace versemark {

bool ProbeCommonControls() {
    return false;
}

std::string_view ProcessorArchitecture() {
    return "X86";
}

float WindowsVersion() {
    return 0.0F;
}

}  // namespace versemark
