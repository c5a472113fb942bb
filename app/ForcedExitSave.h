#pragma once

#include <functional>

// When the display goes away, the toolkit (and the display library under the playback
// engine) end the process with exit() instead of closing the window. While this object
// lives, such an exit on the user-interface thread first runs the save it was given, the
// save a close would make.
class TForcedExitSave {
public:
    explicit TForcedExitSave(std::function<void()> save);
    ~TForcedExitSave();
    TForcedExitSave(const TForcedExitSave &) = delete;
    TForcedExitSave &operator=(const TForcedExitSave &) = delete;
};
