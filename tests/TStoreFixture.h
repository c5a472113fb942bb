#pragma once

#include "registry/TRegistryDatabase.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Each test gets a registry store of its own in an empty configuration folder.
class TStoreFixture : public testing::Test {
protected:
    static inline const QString TestKey = "\\SOFTWARE\\Ostrel\\Test";

    void SetUp() override
    {
        ASSERT_TRUE(config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    }
    void TearDown() override { qunsetenv("XDG_CONFIG_HOME"); }

    QString StorePath() const { return config.path() + "/Ostrel/registry.db"; }
    TRegistryDatabase Store() const
    {
        return TRegistryDatabase(StorePath(), TRegistryDatabase::TOpenMode::CreateIfMissing);
    }

    QTemporaryDir config;
};
