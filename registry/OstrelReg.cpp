// ostrel-reg: shows and changes the player's registry store from the command line.

#include "medialist/ByteText.h"
#include "registry/RegTool.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    // Arguments and output are bytes: a value that is no UTF-8 goes in and comes out as it is.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << ByteText(QByteArray(argv[i]));
    QString output;
    QTextStream out(&output);
    QTextStream err(stderr);
    QTextStream in(stdin);
    const auto confirm = [&](const QString &question) {
        err << question;
        err.flush();
        const QString answer = in.readLine().trimmed();
        return answer.startsWith(QLatin1Char('y'), Qt::CaseInsensitive);
    };
    const int result = RunRegTool(arguments, out, err, confirm);
    out.flush();
    const QByteArray bytes = TextBytes(output);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    return result;
}
