#pragma once

#include <QDBusAbstractAdaptor>
#include <QStringList>

class TMprisService;

// The player as an application on the bus: its name, its desktop entry, and Raise and Quit.
class TMprisRoot : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ CanQuit)
    Q_PROPERTY(bool CanRaise READ CanRaise)
    Q_PROPERTY(bool HasTrackList READ HasTrackList)
    Q_PROPERTY(QString Identity READ Identity)
    Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)

public:
    explicit TMprisRoot(TMprisService &service);

    bool CanQuit() const { return true; }
    bool CanRaise() const { return true; }
    bool HasTrackList() const { return false; }
    QString Identity() const;
    QString DesktopEntry() const;
    QStringList SupportedUriSchemes() const { return {QStringLiteral("file")}; }
    QStringList SupportedMimeTypes() const;

public slots:
    // Shows and activates the main window, even while one of its boxes is open.
    void Raise();
    // The same closing as Media > Exit.
    void Quit();

private:
    TMprisService &service_;
};
