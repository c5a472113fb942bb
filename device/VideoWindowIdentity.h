#pragma once

#include <QByteArray>

// On X11 the engine names its video window with the given instance name but its own class,
// and shows its own icon: the desktop would list the window as another program. This gives
// each such window of this process the application id as class too, and the application's
// icon. Elsewhere (Wayland, no display) it does nothing.
void ClaimVideoWindows(const QByteArray &applicationId);
// Brings the video windows claimed so far to the front, as a user's click on them would,
// through the window manager where there is one. Elsewhere it does nothing.
void RaiseVideoWindows();
