#pragma once

#include <QApplication>
#include <QIcon>
#include <exception>

class TUserDialogs;

// The application object. Its event dispatch is the default error report: an error that
// no handler catches is shown with a stop icon, and the program goes on.
class TOstrelApplication : public QApplication {
    Q_OBJECT

public:
    TOstrelApplication(int &argc, char **argv);

    static TOstrelApplication &Instance();
    // The player's icon, which every window of it shows.
    static QIcon ApplicationIcon();

    TUserDialogs &Dialogs() const;
    void SetDialogs(TUserDialogs &dialogs) { dialogs_ = &dialogs; }

    void ReportException(std::exception_ptr error) const;

    bool notify(QObject *receiver, QEvent *event) override;

private:
    TUserDialogs *dialogs_ = nullptr;
};

// The text the default error report shows: a full stop is added unless the text ends in a
// character that sorts at or below it (".", "!", ")" and the like).
QString WithFullStop(const QString &text);

// Runs an action that Qt calls back (a menu item, a button, the timer) so that an error
// escaping it reaches the default error report instead of unwinding through Qt.
template <typename Action>
void Guarded(Action &&action)
{
    try {
        action();
    } catch (...) {
        TOstrelApplication::Instance().ReportException(std::current_exception());
    }
}

TUserDialogs &UserDialogs();
