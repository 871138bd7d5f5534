#pragma once
#include <string>

#include "app/context.h"

namespace gyrel {

// "GYREL Utility --  COM " + port number + "  -  " + SpeedText (a device path
// stands alone where "COM" and the number would be): the main window's title
// whenever it is not minimized.
std::string mainTitle(const Context& ctx);
// Puts that title on the main window and tells the window.
void setMainTitle(Context& ctx);

}  // namespace gyrel
