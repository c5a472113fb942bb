#include "TFormMediaPlayer.h"
#include "TOstrelApplication.h"
#include "TQtUserDialogs.h"

int main(int argc, char **argv)
{
    TOstrelApplication application(argc, argv);
    TQtUserDialogs dialogs;
    application.SetDialogs(dialogs);
    auto form = CreateFormMediaPlayer();
    form->show();
    return application.exec();
}
