#pragma once

#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

// A temporary folder whose files tests write and read by name.
class TTempFolder : public QTemporaryDir {
public:
    // By bytes and by handles: Qt's own removal skips names that are not UTF-8 and trees
    // deeper than a path can name.
    ~TTempFolder()
    {
        if (isValid())
            RemoveTree(AT_FDCWD, QFile::encodeName(path()).constData());
    }

    QString File(const QString &name) const { return path() + QLatin1Char('/') + name; }

    void WriteFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(File(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // An empty file, and a folder, by the bytes of their names in the folder.
    void Touch(const QByteArray &relative) const
    {
        const int fd = ::open((QFile::encodeName(path()) + '/' + relative).constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    void MakeFolder(const QByteArray &relative) const
    {
        ASSERT_EQ(::mkdir((QFile::encodeName(path()) + '/' + relative).constData(), 0755), 0);
    }

    // "<missing>" when there is no such file.
    QByteArray ReadFile(const QString &name) const
    {
        QFile file(File(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

private:
    static void RemoveTree(int parent, const char *name)
    {
        if (::unlinkat(parent, name, 0) == 0)
            return;
        const int folder = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
        if (folder < 0)
            return;
        if (DIR *entries = ::fdopendir(folder)) {
            while (const dirent *entry = ::readdir(entries))
                if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                    RemoveTree(folder, entry->d_name);
            ::closedir(entries);
        } else {
            ::close(folder);
        }
        ::unlinkat(parent, name, AT_REMOVEDIR);
    }
};
