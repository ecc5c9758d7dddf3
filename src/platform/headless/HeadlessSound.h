// The headless backend's sound: each cue and beep is a journal line.
#pragma once

#include <string>

#include "platform/Sound.h"
#include "platform/headless/Journal.h"

namespace vl::headless {

class HeadlessSound final : public platform::Sound {
public:
    explicit HeadlessSound(Journal& journal) : m_journal(journal) {}
    void play(const std::string& path) override;
    void beep(platform::Beep kind) override;

private:
    Journal& m_journal;
};

}  // namespace vl::headless
