// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/StandardStreams.h"

namespace versemark {

void PrepareStandardStreams() {}

}  // namespace versemark
