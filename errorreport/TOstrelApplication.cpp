#include "errorreport/TOstrelApplication.h"

#include "about/OEMPConst.h"
#include "dialogs/TUserDialogs.h"

#include <QFont>
#include <QIcon>
#include <stdexcept>

TOstrelApplication::TOstrelApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QString::fromLatin1(OEMPConst::ProductName));
    setDesktopFileName(QString::fromLatin1(OEMPConst::ApplicationId));
    setWindowIcon(ApplicationIcon());
    // The faces the windows were designed with, by their metric-compatible free namesakes.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
}

QIcon TOstrelApplication::ApplicationIcon()
{
    // The installed theme's icon where there is one; the built-in drawing otherwise.
    QIcon builtIn;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        builtIn.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    return QIcon::fromTheme(QString::fromLatin1(OEMPConst::ApplicationId), builtIn);
}

TOstrelApplication &TOstrelApplication::Instance()
{
    return *static_cast<TOstrelApplication *>(QCoreApplication::instance());
}

TUserDialogs &TOstrelApplication::Dialogs() const
{
    if (!dialogs_)
        throw std::logic_error("no user dialogs installed");
    return *dialogs_;
}

void TOstrelApplication::ReportException(std::exception_ptr error) const
{
    QString text;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception &caught) {
        text = QString::fromUtf8(caught.what());
    } catch (...) {
        text = QStringLiteral("Unknown exception");
    }
    Dialogs().ShowError(WithFullStop(text));
}

bool TOstrelApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportException(std::current_exception());
        return false;
    }
}

QString WithFullStop(const QString &text)
{
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        return text + QLatin1Char('.');
    return text;
}

TUserDialogs &UserDialogs()
{
    return TOstrelApplication::Instance().Dialogs();
}
