// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup/basMain.h"

namespace versemark {

ProgramValues& basMain() {
    static ProgramValues values;
    return values;
}

}  // namespace versemark
