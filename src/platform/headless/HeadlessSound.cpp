// Sounds as journal lines.
#include "platform/headless/HeadlessSound.h"

#include "platform/Files.h"

namespace vl::headless {

void HeadlessSound::play(const std::string& path) {
    m_journal.add("sound " + quote(path.substr(platform::folder_of(path).size())));
}

void HeadlessSound::beep(platform::Beep kind) {
    switch (kind) {
        case platform::Beep::Default:
            m_journal.add("beep default");
            break;
        case platform::Beep::Information:
            m_journal.add("beep information");
            break;
        case platform::Beep::CriticalStop:
            m_journal.add("beep critical");
            break;
    }
}

}  // namespace vl::headless
