#pragma once

// Keeps descriptor 0 occupied by the null device. Libraries that close descriptor 0 by
// mistake would otherwise close whatever lands there next, such as a display connection.
// Returns false when the null device cannot be opened.
bool HoldStandardInputOnNullDevice();
// Puts the null device on descriptor 0 only when nothing is open there.
bool RefillClosedStandardInput();
