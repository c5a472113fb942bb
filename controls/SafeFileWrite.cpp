#include "SafeFileWrite.h"

#include <QFile>
#include <cerrno>
#include <climits>
#include <cstdlib>
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

mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

int WriteInPlace(const QByteArray &path, const QByteArray &bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = WriteAll(fd, bytes);
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
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
    if (path.isEmpty())
        return ENOENT;
    const QByteArray target = ResolveLinks(QFile::encodeName(path));
    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return EISDIR;
    if (exists && !S_ISREG(old.st_mode))
        return WriteInPlace(target, bytes); // a device or a pipe cannot be replaced by renaming

    const QByteArray folder = FolderOf(target);
    QByteArray temporary = folder + "/." + NameOf(target) + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        const bool folderRefuses = error == EACCES || error == EPERM || error == EROFS;
        if (folderRefuses && exists && ::access(target.constData(), W_OK) == 0)
            return WriteInPlace(target, bytes);
        return error;
    }
    ::fchmod(fd, exists ? (old.st_mode & 07777) : NewFileMode());
    if (exists) {
        // Best effort: only a privileged user can hand a file to another owner.
        [[maybe_unused]] const int kept = ::fchown(fd, old.st_uid, old.st_gid);
    }
    int error = WriteAll(fd, bytes);
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
