#include "platform/StandardStreams.h"

namespace versemark {

void PrepareStandardStreams() {}

}  // namespace versemark
