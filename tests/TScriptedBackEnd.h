#pragma once

#include "device/TMediaBackEnd.h"

#include <QMap>
#include <QStringList>
#include <algorithm>

// A back end for tests: logs every command with its flags, answers from a script, and
// plays the device's modes as a real engine would.
class TScriptedBackEnd : public TMediaBackEnd {
public:
    struct TScript {
        QMap<QString, uint32_t> Results; // command name -> result code to answer
        QStringList Unopenable;          // files whose Open fails with code 77
    };

    // Shared so that a test keeps reading them after the device owns the back end.
    struct TState {
        QStringList Log;
        TScript Script;
        uint32_t Mode = MCI_MODE_STOP;
        uint16_t OpenDevice = 0;
        uint16_t NextDevice = 1;
        QByteArray OpenFile;
        uint32_t Position = 0;
        uint32_t Length = 1000;
        double Volume = 1.0;
        bool EvenLoudness = false;
        QByteArray HandedAhead; // kept apart from the log of the player's commands
        TMediaTags Tags;
    };

    explicit TScriptedBackEnd(TState &state) : state_(state) {}

    uint32_t Open(const QByteArray &element, bool, TCommandFlags flags, uint16_t &deviceId) override
    {
        Record("Open " + QString::fromUtf8(element), flags);
        if (state_.Script.Unopenable.contains(QString::fromUtf8(element)) || element.isEmpty())
            return 77;
        if (const uint32_t result = Answer("Open"))
            return result;
        deviceId = state_.OpenDevice = state_.NextDevice++;
        state_.OpenFile = element;
        state_.HandedAhead.clear();
        state_.Mode = MCI_MODE_STOP;
        return 0;
    }
    uint32_t Close(uint16_t deviceId, TCommandFlags flags) override
    {
        return Command("Close", deviceId, flags, [&] {
            state_.OpenDevice = 0;
            state_.HandedAhead.clear();
        });
    }
    uint32_t Play(uint16_t deviceId, TCommandFlags flags, std::optional<uint32_t>, std::optional<uint32_t>) override
    {
        return Command("Play", deviceId, flags, [&] { state_.Mode = MCI_MODE_PLAY; });
    }
    uint32_t Pause(uint16_t deviceId, TCommandFlags flags) override
    {
        return Command("Pause", deviceId, flags, [&] { state_.Mode = MCI_MODE_PAUSE; });
    }
    uint32_t Resume(uint16_t deviceId, TCommandFlags flags) override
    {
        return Command("Resume", deviceId, flags, [&] { state_.Mode = MCI_MODE_PLAY; });
    }
    uint32_t Stop(uint16_t deviceId, TCommandFlags flags) override
    {
        return Command("Stop", deviceId, flags, [&] { state_.Mode = MCI_MODE_STOP; });
    }
    uint32_t SeekToStart(uint16_t deviceId) override
    {
        state_.Log << QStringLiteral("Seek %1").arg(deviceId);
        return deviceId == state_.OpenDevice ? 0 : 263;
    }
    uint32_t StatusMode(uint16_t deviceId, uint32_t &mode) override
    {
        if (deviceId == 0 || deviceId != state_.OpenDevice)
            return 263;
        mode = state_.Mode;
        return 0;
    }
    uint32_t SeekTo(uint16_t deviceId, uint32_t milliseconds) override
    {
        state_.Log << QStringLiteral("SeekTo %1 %2").arg(deviceId).arg(milliseconds);
        if (deviceId != state_.OpenDevice)
            return 263;
        state_.Position = std::min(milliseconds, state_.Length);
        return 0;
    }
    double Volume() const override { return state_.Volume; }
    void SetVolume(double volume) override { state_.Volume = std::clamp(volume, 0.0, 1.0); }
    void SetEvenLoudness(bool on) override { state_.EvenLoudness = on; }
    uint32_t HandAhead(uint16_t deviceId, const QByteArray &element) override
    {
        if (deviceId == 0 || deviceId != state_.OpenDevice)
            return 263;
        state_.HandedAhead = element;
        return 0;
    }
    uint32_t StatusPosition(uint16_t, uint32_t &milliseconds) override
    {
        milliseconds = state_.Position;
        return 0;
    }
    uint32_t StatusLength(uint16_t, uint32_t &milliseconds) override
    {
        milliseconds = state_.Length;
        return 0;
    }
    uint32_t StatusTags(uint16_t, TMediaTags &tags) override
    {
        tags = state_.Tags;
        return 0;
    }
    QString ErrorText(uint32_t code) const override
    {
        if (code == 77)
            return QStringLiteral("The file cannot be played.");
        return code == 263 ? QStringLiteral("The device is not open.") : QString();
    }

    void SendNotice(uint32_t code) { Notice(code); }
    void RequestWindowClose() { WindowCloseRequest(); }

private:
    void Record(const QString &command, TCommandFlags flags)
    {
        state_.Log << command + (flags.Wait ? " wait" : "") + (flags.Notify ? " notify" : "");
    }
    uint32_t Answer(const QString &command) const { return state_.Script.Results.value(command, 0); }
    template <typename Effect>
    uint32_t Command(const QString &name, uint16_t deviceId, TCommandFlags flags, Effect effect)
    {
        Record(name, flags);
        if (deviceId == 0 || deviceId != state_.OpenDevice)
            return 263;
        if (const uint32_t result = Answer(name))
            return result;
        effect();
        return 0;
    }

    TState &state_;
};
