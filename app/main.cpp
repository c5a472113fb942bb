#include "ForcedExitSave.h"
#include "SessionBus.h"
#include "StandardInput.h"
#include "TFormMediaPlayer.h"
#include "TOstrelApplication.h"
#include "TQtUserDialogs.h"

#include <clocale>

int main(int argc, char **argv)
{
    HoldStandardInputOnNullDevice(); // the player reads no input
    KeepTheSessionBusFromAutolaunching();
    TOstrelApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C"); // the playback engine needs the C decimal point
    TQtUserDialogs dialogs;
    application.SetDialogs(dialogs);
    auto form = CreateFormMediaPlayer();
    const TForcedExitSave forcedExitSave(*form);
    form->show();
    return application.exec();
}
