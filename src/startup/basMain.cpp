#include "startup/basMain.h"

namespace versemark {

ProgramValues& basMain() {
    static ProgramValues values;
    return values;
}

}  // namespace versemark
