// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/StandardStreams.h"

namespace versemark {

void PrepareStandardStreams() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);  // fails harmlessly without a console
}

}  // namespace versemark
