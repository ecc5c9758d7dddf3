// The GTK 3 backend: each screen is a real GTK window of native widgets, exposed to Orca
// through AT-SPI. Every box carries the label before it as its accessible name and as its
// labelled-by relation; the screen's key table sees each key before GTK does.
#pragma once

#include <memory>

#include "platform/Ui.h"

namespace vl::gtk3 {

// Opens the display; false (after one line on standard error) when there is none.
bool initialise_gtk(int* argc, char*** argv);

// The UI on the default display; call initialise_gtk first.
std::unique_ptr<platform::Ui> make_gtk_ui();

}  // namespace vl::gtk3
