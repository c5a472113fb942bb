#pragma once

// The display library under the engine's video output ends the process with exit() on the
// thread that found the display gone. Routed here, that exit happens on the user-interface
// thread instead, where the player can save first; the finding thread waits for it.
// Call once the display library is loaded; without it, nothing changes.
void RouteDisplayLossToTheUserInterfaceThread();
