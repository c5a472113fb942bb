#pragma once

#include "TDesktopSession.h"
#include "TFormFixture.h"

// Tests on a real X server and a real sound server of their own; each test is skipped,
// saying why, where the X server cannot start.
class TDesktopFixture : public TFormFixture {
protected:
    void SetUp() override
    {
        if (const QString why = WhyNotRunning(); !why.isEmpty())
            GTEST_SKIP() << "no X server: " << why.toStdString();
        TFormFixture::SetUp();
    }

    static QString WhyNotRunning();

public:
    static TDesktopSession *Session;
};
