#include "SaveFloor.h"

#include "registry/OERegistry.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

double SaveFloor(const std::string &folder, const QByteArray &bytes)
{
    const auto started = std::chrono::steady_clock::now();
    const std::string path = folder + "/floor.oml", temporary = path + ".tmp";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        std::exit(1);
    // One write moves at most about 2 GiB.
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t wrote = write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (wrote <= 0)
            std::exit(1);
        done += wrote;
    }
    if (fsync(fd) != 0)
        std::exit(1);
    close(fd);
    if (rename(temporary.c_str(), path.c_str()) != 0)
        std::exit(1);
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    fsync(dir);
    close(dir);
    QList<TRegistryWrite> values;
    for (int i = 0; i < 12; ++i)
        values.append({QString::number(i), TRegistryValue::Integer(i)});
    WriteRegistryValues(HKEY_CURRENT_USER, QStringLiteral("\\Software\\Floor"), values);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
}
