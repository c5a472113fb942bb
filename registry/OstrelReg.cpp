// ostrel-reg: shows and changes the player's registry store from the command line.

#include "RegTool.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QTextStream in(stdin);
    const auto confirm = [&](const QString &question) {
        err << question;
        err.flush();
        const QString answer = in.readLine().trimmed();
        return answer.startsWith(QLatin1Char('y'), Qt::CaseInsensitive);
    };
    return RunRegTool(application.arguments().mid(1), out, err, confirm);
}
