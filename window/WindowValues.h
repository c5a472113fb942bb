#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>
#include <vector>

// What is kept between runs in values of their own under the subkey "Window" of the product
// key, apart from the twelve settings.

// The volume the user last chose, in percent, kept between runs in a value of its own
// ("Volume") under the subkey "Window" of the product key, apart from the twelve settings.
namespace StoredVolume {

// Nothing when no volume is stored or the stored value is no number; a number outside
// 0 to 100 is taken as the nearest end.
std::optional<int> Read();
void Write(int percent);

} // namespace StoredVolume

// The options beyond the twelve settings, off until the user checks them.
namespace StoredOption {

constexpr const char *EvenOutLoudness = "EvenOutLoudness";
constexpr const char *ResumePlayback = "ResumePlayback";

// Off when the value is missing or no number.
bool Read(const char *name);
void Write(const char *name, bool on);

} // namespace StoredOption

// Where Resume Playback picks up at the next start: the entry that played ("ResumeEntry", its
// bytes), its position ("ResumePosition", in milliseconds) and whether it was paused
// ("ResumePaused"). No entry: nothing played.
struct TResumePoint {
    QByteArray Entry;
    int Position = 0;
    bool Paused = false;

    // A value missing or of another type reads as nothing played; a negative position as 0.
    static TResumePoint Read();
    void Write() const;
};

// The play queue of the list file it belongs to ("QueueList", the file's path): its entries'
// rows ("QueueRows", numbers between commas) and their texts ("QueueEntries", one a line), so
// that a list changed since by another program queues nothing wrong.
struct TStoredQueue {
    QString ListFile;
    std::vector<int> Rows;
    QList<QByteArray> Entries;

    // A value missing or of another type reads as an empty queue.
    static TStoredQueue Read();
    void Write() const;
};
