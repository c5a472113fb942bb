#include "app/ForcedExitSave.h"
#include "app/SessionBus.h"
#include "app/TOstrelApplication.h"
#include "desktop/TMprisService.h"
#include "device/StandardInput.h"
#include "dialogs/TQtUserDialogs.h"
#include "window/TFormMediaPlayer.h"

#include <QTimer>
#include <clocale>
#include <optional>

int main(int argc, char **argv)
{
    HoldStandardInputOnNullDevice(); // the player reads no input
    KeepTheSessionBusFromAutolaunching();
    TOstrelApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C"); // the playback engine needs the C decimal point
    TQtUserDialogs dialogs;
    application.SetDialogs(dialogs);
    auto form = CreateFormMediaPlayer();
    const TForcedExitSave forcedExitSave([&form] { form->SaveBeforeForcedExit(); });
    form->show();
    // The media controls join the bus once the window is up, so that start-up waits for nothing.
    std::optional<TMprisService> mediaControls;
    QTimer::singleShot(0, form.get(), [&] { mediaControls.emplace(form->PlayerControl(), QDBusConnection::sessionBus()); });
    return application.exec();
}
