#pragma once

// Without a session bus, the toolkit's D-Bus library would start one of its own
// (dbus-launch and a dbus-daemon that outlive the player). Call before the application
// object exists: where no bus address is set and no per-user bus socket exists, the
// address is set to one that connects nowhere, at once and silently.
void KeepTheSessionBusFromAutolaunching();
