// Builds without a web client (Windows, for now): the on-line call book says it is not
// available.
#include "platform/Http.h"

namespace vl::platform {

Http* system_http() {
    return nullptr;
}

}  // namespace vl::platform
