// Builds that cannot start other programs (Windows, for now): LoTW uploads say they are not
// available.
#include "platform/Programs.h"

namespace vl::platform {

Programs* system_programs() {
    return nullptr;
}

}  // namespace vl::platform
