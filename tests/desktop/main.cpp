#include "TDesktopFixture.h"
#include "TDisplayLossChild.h"
#include "app/SessionBus.h"
#include "errorreport/TOstrelApplication.h"

#include <clocale>
#include <gtest/gtest.h>

namespace {

QString &NotRunningReason()
{
    static QString reason;
    return reason;
}

} // namespace

QString TDesktopFixture::WhyNotRunning()
{
    return NotRunningReason();
}

TDesktopSession *TDesktopFixture::Session = nullptr;

int main(int argc, char **argv)
{
    if (argc == 2 && qstrcmp(argv[1], PlayUntilTheDisplayGoesOption) == 0)
        return PlayUntilTheDisplayGoes(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    TDesktopSession session;
    // Listing the tests needs no servers.
    NotRunningReason() = testing::GTEST_FLAG(list_tests) ? QStringLiteral("only listing") : session.Start();
    TDesktopFixture::Session = &session;
    // Nor may the tests start a bus on the shared display, which the player would then find.
    KeepTheSessionBusFromAutolaunching();
    qputenv("QT_QPA_PLATFORM", NotRunningReason().isEmpty() ? "xcb" : "offscreen");
    TOstrelApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
