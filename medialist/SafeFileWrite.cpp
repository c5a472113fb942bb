#include "medialist/SafeFileWrite.h"

#include "medialist/ByteText.h"

#include <QFile>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <libgen.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int WriteAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += written;
        left -= written;
    }
    return 0;
}

int WritePieces(int fd, const std::function<bool(QByteArray &)> &fill)
{
    QByteArray piece;
    bool more = true;
    while (more) {
        piece.truncate(0);
        more = fill(piece);
        if (const int error = WriteAll(fd, piece))
            return error;
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}

// The file a path finally names, following symbolic links even when the last one dangles.
QByteArray ResolveLinks(const QByteArray &path)
{
    QByteArray current = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat link {};
        if (::lstat(current.constData(), &link) != 0 || !S_ISLNK(link.st_mode))
            return current;
        char target[PATH_MAX];
        const ssize_t length = ::readlink(current.constData(), target, sizeof target - 1);
        if (length < 0)
            return current;
        const QByteArray next(target, length);
        if (next.startsWith('/')) {
            current = next;
        } else {
            QByteArray folder = current;
            current = QByteArray(::dirname(folder.data())) + '/' + next;
        }
    }
    return current;
}

QByteArray FolderOf(const QByteArray &path)
{
    QByteArray copy = path;
    return QByteArray(::dirname(copy.data()));
}

QByteArray NameOf(const QByteArray &path)
{
    QByteArray copy = path;
    return QByteArray(::basename(copy.data()));
}

constexpr const char *TemporarySuffix = ".XXXXXX";
// A save in progress finishes within seconds; a temporary file older than this was left
// behind by a save that was killed.
constexpr time_t StaleSeconds = 60;

bool IsTemporaryOf(const char *entry, const QByteArray &name)
{
    const size_t length = std::strlen(entry);
    const size_t prefix = size_t(name.size()) + 2; // "." + name + "."
    if (length != prefix + 6 || entry[0] != '.' || std::memcmp(entry + 1, name.constData(), size_t(name.size())) != 0
        || entry[prefix - 1] != '.')
        return false;
    for (size_t i = prefix; i < length; ++i)
        if (!std::isalnum(static_cast<unsigned char>(entry[i])))
            return false;
    return true;
}

void RemoveStaleTemporaries(const QByteArray &folder, const QByteArray &name)
{
    DIR *listing = ::opendir(folder.constData());
    if (!listing)
        return;
    const time_t now = ::time(nullptr);
    const uid_t user = ::geteuid();
    while (const dirent *entry = ::readdir(listing)) {
        if (!IsTemporaryOf(entry->d_name, name))
            continue;
        struct stat info {};
        if (::fstatat(::dirfd(listing), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode)
            && info.st_uid == user && now - info.st_mtime > StaleSeconds)
            ::unlinkat(::dirfd(listing), entry->d_name, 0);
    }
    ::closedir(listing);
}

mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void SyncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

int WriteFileSafely(const QString &path, const QByteArray &bytes)
{
    return WriteFileSafely(path, [&bytes](QByteArray &piece) {
        piece = bytes;
        return false;
    });
}

int WriteFileSafely(const QString &path, const std::function<bool(QByteArray &piece)> &fill)
{
    if (path.isEmpty())
        return ENOENT;
    const QByteArray target = ResolveLinks(TextBytes(path));
    struct stat old {};
    if (::lstat(target.constData(), &old) == 0 && S_ISLNK(old.st_mode))
        return ELOOP; // links that never end in a file
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return EISDIR;
    // A pipe or a device is no list file, and a file the user may not write stays as it is,
    // just as a write into it would have failed.
    if (exists && !S_ISREG(old.st_mode))
        return EACCES;
    if (exists && ::access(target.constData(), W_OK) != 0)
        return errno;

    const QByteArray folder = FolderOf(target);
    const QByteArray name = NameOf(target);
    RemoveStaleTemporaries(folder, name);
    QByteArray temporary = folder + "/." + name + TemporarySuffix;
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return errno; // a folder that takes no new file: no way to replace the file safely
    ::fchmod(fd, exists ? (old.st_mode & 07777) : NewFileMode());
    if (exists) {
        // Best effort: only a privileged user can hand a file to another owner.
        [[maybe_unused]] const int kept = ::fchown(fd, old.st_uid, old.st_gid);
    }
    int error = WritePieces(fd, fill);
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        return error;
    }
    SyncFolder(folder);
    return 0;
}
