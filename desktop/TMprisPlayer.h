#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QVariantMap>

class TMprisService;
class TPlayerControl;

// The transport as desktop media controls and media keys drive it, through the player's
// control interface.
class TMprisPlayer : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(double Rate READ Rate WRITE SetRate)
    Q_PROPERTY(double MinimumRate READ Rate)
    Q_PROPERTY(double MaximumRate READ Rate)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(double Volume READ Volume WRITE SetVolume)
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(bool CanGoNext READ HasEntries)
    Q_PROPERTY(bool CanGoPrevious READ HasEntries)
    Q_PROPERTY(bool CanPlay READ HasEntries)
    Q_PROPERTY(bool CanPause READ HasEntries)
    Q_PROPERTY(bool CanSeek READ CanSeek)
    Q_PROPERTY(bool CanControl READ CanControl)
    Q_PROPERTY(bool Shuffle READ Shuffle WRITE SetShuffle)
    Q_PROPERTY(QString LoopStatus READ LoopStatus WRITE SetLoopStatus)

public:
    explicit TMprisPlayer(TMprisService &service);

    QString PlaybackStatus() const;
    // The engine plays at its normal speed only.
    double Rate() const { return 1.0; }
    // A rate of 0 pauses, as the controls' convention has it; no other rate is possible.
    void SetRate(double rate);
    QVariantMap Metadata() const;
    double Volume() const;
    // Not a number is ignored; values outside 0 to 1 are clamped.
    void SetVolume(double volume);
    // In microseconds, read from the engine on each request.
    qlonglong Position() const;
    bool HasEntries() const;
    bool CanSeek() const;
    bool CanControl() const { return true; }
    // Random play order; setting it chooses the play order as the Options menu does.
    bool Shuffle() const;
    void SetShuffle(bool on);
    // The list always wraps round, in order and at random; no other loop status exists.
    QString LoopStatus() const { return QStringLiteral("Playlist"); }
    void SetLoopStatus(const QString &) { }

public slots:
    void Next();
    void Previous();
    void Pause();
    // Pauses while the device plays, plays otherwise.
    void PlayPause();
    void Stop();
    void Play();
    // Relative, in microseconds: before the start seeks to the start, past the end is Next.
    void Seek(qlonglong offset);
    // Ignored unless the track is the current one and the position lies within it.
    void SetPosition(const QDBusObjectPath &trackId, qlonglong position);
    // A file:// URI is added and played as a second start of the program would have it;
    // any other scheme is an error and adds nothing.
    void OpenUri(const QString &uri, const QDBusMessage &message);

signals:
    void Seeked(qlonglong position);

private:
    void SeekTo(TPlayerControl &player, qlonglong position);

    TMprisService &service_;
};
