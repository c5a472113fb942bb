#include "desktop/TPlayerControl.h"

TPlayerControl::~TPlayerControl() = default;
