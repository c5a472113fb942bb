#include "TDisplayLossChild.h"

#include "TXWindows.h"
#include "app/ForcedExitSave.h"
#include "app/SessionBus.h"
#include "errorreport/TOstrelApplication.h"
#include "controls/TOEButton.h"
#include "controls/TOECheckListBox.h"
#include "dialogs/TSilentDialogs.h"
#include "window/TFormMediaPlayer.h"

#include <QFileInfo>
#include <QTest>
#include <clocale>
#include <cstdio>

int PlayUntilTheDisplayGoes(int argc, char **argv)
{
    KeepTheSessionBusFromAutolaunching();
    qputenv("QT_QPA_PLATFORM", "xcb");
    TOstrelApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    struct : TSilentDialogs {
        void ShowMessage(const QString &text) override { std::fprintf(stderr, "message: %s\n", qPrintable(text)); }
    } dialogs;
    application.SetDialogs(dialogs);
    auto form = CreateFormMediaPlayer();
    const TForcedExitSave forcedExitSave([&form] { form->SaveBeforeForcedExit(); });
    form->show();
    form->lbFiles->SetItemIndex(0);
    form->sbPlayClick(form->sbPlay);
    TXWindows windows;
    const QString caption = QStringLiteral("Ostrel Media Player - ")
                            + QFileInfo(QString::fromUtf8(form->lbFiles->Text(0))).fileName();
    if (!QTest::qWaitFor([&] { return windows.FindMapped(caption) != 0; }, 5000))
    {
        std::printf("not playing: %s\n", qPrintable(form->StatusText()));
        return 3;
    }
    std::printf("playing\n");
    std::fflush(stdout);
    return application.exec();
}
