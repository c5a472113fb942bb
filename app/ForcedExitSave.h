#pragma once

class TFormMediaPlayer;

// When the display goes away, the toolkit (and the display library under the playback
// engine) end the process with exit() instead of closing the window. While this object
// lives, such an exit on the user-interface thread first saves what a close would save.
class TForcedExitSave {
public:
    explicit TForcedExitSave(TFormMediaPlayer &form);
    ~TForcedExitSave();
    TForcedExitSave(const TForcedExitSave &) = delete;
    TForcedExitSave &operator=(const TForcedExitSave &) = delete;
};
