#pragma once
// A check for installers and package tests: with KESTREL_STARTUP_CHECK=1 in the environment the
// program quits as soon as its home screen is up: with 0 when the screen is whole, else with 1
// and one line on standard error naming what is missing (resources, texts, pictures, the guide).
#include "app/main_interface.h"

namespace app {

// Does nothing unless the variable is set; else looks once the event loop runs.
void scheduleStartupCheck(const MainInterface& ui);

}  // namespace app
