#pragma once

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A temporary folder whose files tests write and read by name.
class TTempFolder : public QTemporaryDir {
public:
    QString File(const QString &name) const { return path() + QLatin1Char('/') + name; }

    void WriteFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(File(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // "<missing>" when there is no such file.
    QByteArray ReadFile(const QString &name) const
    {
        QFile file(File(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
};
