#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

namespace kontaro::testing {

inline QString s(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// A fresh data directory per test with raw access to its settings file.
class IniFixture : public ::testing::Test {
protected:
    QString path(const QString& name = QStringLiteral("Kontaro.Ini")) const { return m_dir.filePath(name); }

    void putBytes(const QByteArray& bytes, const QString& name = QStringLiteral("Kontaro.Ini")) const {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // As std::string, which failure messages show as escaped text.
    std::string bytes(const QString& name = QStringLiteral("Kontaro.Ini")) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }

    bool exists(const QString& name = QStringLiteral("Kontaro.Ini")) const {
        return QFile::exists(path(name));
    }
    QString dir() const { return m_dir.path(); }
    QStringList fileNames() const {
        return QDir(m_dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    }

private:
    QTemporaryDir m_dir;
};

} // namespace kontaro::testing
