#include "medialist/RegularFileRead.h"

#include "medialist/ListMemory.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int ReadOpened(int fd, QByteArray &content)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return errno;
    if (!S_ISREG(info.st_mode))
        return EACCES;
    if (!ListMemory::Fits(ListMemory::Needed(qint64(info.st_size), 0), ListMemory::Available()))
        return ENOMEM;
    // The size is a hint only: the file may change while it is read. Reading goes straight
    // into the buffer; one byte more than the size is asked for, to see the end at once.
    qsizetype filled = 0;
    content.resize(qsizetype(info.st_size) + 1);
    for (;;) {
        if (filled == content.size())
            content.resize(content.size() + (content.size() >> 1) + (1 << 16));
        const ssize_t got = ::read(fd, content.data() + filled, size_t(content.size() - filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0) {
            content.truncate(filled);
            return 0;
        }
        filled += got;
    }
}

} // namespace

int ReadRegularFile(const QByteArray &path, QByteArray &content)
{
    content.clear();
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int error = ReadOpened(fd, content);
    ::close(fd);
    if (error != 0)
        content.clear();
    return error;
}
