// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "startup/ProgramValues.h"

class QApplication;

namespace versemark {

// Run modes 0 and 2 once the configuration is read: builds the lyrics index, writes
// the manifest when `probe` is true, shows the window (scanning Folder at once in
// run mode 2) and runs the event loop. Returns the process's exit status.
int RunWindowModes(QApplication& app, ProgramValues& values, bool probe);

}  // namespace versemark
