#pragma once

#include "TDesktopSession.h"
#include "TFormFixture.h"

#include <QTest>

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

// The real main window and device, shown on the test's own X server.
class TShownFormFixture : public TDesktopFixture {
protected:
    void SetUp() override
    {
        TDesktopFixture::SetUp();
        if (IsSkipped())
            return;
        form = CreateFormMediaPlayer();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        dialogs.Messages.clear(); // the missing list file at start-up
    }

    std::unique_ptr<TFormMediaPlayer> form;
};
