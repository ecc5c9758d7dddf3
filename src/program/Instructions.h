// The built-in manual: 18 topics chosen from a list, each read in a read-only text box.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "program/AppContext.h"

namespace vl {

extern const std::array<std::string_view, 18> kTopicNames;

// The manual as the build embeds it, one line a topic line, markers "[1]".."[18]" included.
std::string_view manual_text();

// The text of topic `index` (0..17): the lines after its marker up to the next marker, each
// followed by CR LF.
std::string topic_text(std::string_view manual, int index);

void show_instructions(AppContext& ctx, platform::WindowId owner);

}  // namespace vl
