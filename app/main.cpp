#include "app/ForcedExitSave.h"
#include "app/SessionBus.h"
#include "errorreport/TOstrelApplication.h"
#include "app/TerminationSignals.h"
#include "desktop/THandOverService.h"
#include "desktop/TMprisService.h"
#include "device/StandardInput.h"
#include "dialogs/TQtUserDialogs.h"
#include "medialist/CurrentFolder.h"
#include "window/TFormMediaPlayer.h"

#include <QSessionManager>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <memory>
#include <optional>
#include <unistd.h>

namespace {

// What is left of the command line once the toolkit has taken its own options: files,
// folders and file:// URIs, as bytes.
QList<QByteArray> NamesOf(int argc, char **argv)
{
    QList<QByteArray> names;
    for (int i = 1; i < argc; ++i)
        names << QByteArray(argv[i]);
    return names;
}

} // namespace

int main(int argc, char **argv)
{
    HoldStandardInputOnNullDevice(); // the player reads no input
    KeepTheSessionBusFromAutolaunching();
    TOstrelApplication application(argc, argv);
    const QList<QByteArray> names = NamesOf(argc, argv);
    const QByteArray workingFolder = CurrentFolderBytes();
    // A player of this user already runs: it takes the files, and this process is done.
    if (!names.isEmpty() && HandOverToRunningPlayer(names, workingFolder))
        return 0;
    std::setlocale(LC_NUMERIC, "C"); // the playback engine needs the C decimal point
    TQtUserDialogs dialogs;
    application.SetDialogs(dialogs);
    std::unique_ptr<TFormMediaPlayer> form;
    // From here on; until the window has started up there is nothing of the user's to save.
    const TTerminationSignals endingSignals([&form] {
        if (form)
            form->SaveBeforeForcedExit();
    });
    std::optional<THandOverService> handOver;
    {
        auto starting = std::make_unique<TFormMediaPlayer>();
        // The name is taken before a start-up box can show: a file opened meanwhile waits for
        // this window instead of starting a second player.
        handOver.emplace(starting->PlayerControl(), QDBusConnection::sessionBus());
        starting->StartUp();
        form = std::move(starting);
    }
    dialogs.SetMainWindow(form.get());
    const TForcedExitSave forcedExitSave([&form] { form->SaveBeforeForcedExit(); });
    // The X session manager's save request, at log-out: no interaction is asked for.
    QObject::connect(&application, &QGuiApplication::commitDataRequest, form.get(),
                     [&form](QSessionManager &) { form->SaveWithoutBoxes(); });
    form->show();
    // The media controls come once the window is up, so that start-up waits for nothing.
    std::optional<TMprisService> mediaControls;
    QTimer::singleShot(0, form.get(), [&] {
        mediaControls.emplace(form->PlayerControl(), QDBusConnection::sessionBus());
        if (!names.isEmpty())
            form->PlayerControl().Open(HandOverOf(names, workingFolder), true);
    });
    const int status = application.exec();
    // All of the user's is on disk once the window has closed; taking a long list's window,
    // model and index apart would only keep the session waiting.
    std::fflush(nullptr);
    ::_exit(status);
}
