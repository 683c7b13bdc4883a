#include "window/WindowMain.h"

#include <cstdio>

namespace versemark {

int RunWindowModes(QApplication&, ProgramValues&, bool) {
    std::puts("Versemark: the window is not built yet; only the one-file run mode works.");
    return 0;
}

}  // namespace versemark
