#pragma once

#include "data/ini_document.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

namespace kontaro {

// A settings file on disk with private-profile semantics (see IniDocument for the rules of the text).
//
// Every operation opens the file, reads or writes it and closes it again; nothing is cached, so an
// edit made with another program between two calls is seen by the next one. The file name is matched
// without regard to case ("KONTARO.INI" is found for "Kontaro.Ini"; an exact match wins); a file that
// does not exist yet is created under the given spelling by the first write. Reading a missing file
// gives the defaults.
//
// A write replaces the whole file at once (never half written) and only when its bytes change. The
// file is written in Windows-1252 with CR LF; UTF-8 is accepted when reading. A file that cannot be
// read or written throws FileError naming the file, and stays as it was.
class IniFile {
public:
    explicit IniFile(QString path);

    const QString& path() const { return m_path; }
    // The file that the next access uses: an existing file matched without regard to case, else path().
    QString resolvedPath() const;

    // The current content; empty when the file does not exist.
    IniDocument load() const;
    // Reads the file once, applies the change and writes the result once.
    void update(const std::function<void(IniDocument&)>& change);

    QString readString(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;
    QDate readDate(const QString& section, const QString& key, const QDate& defaultValue) const;
    QStringList keys(const QString& section) const;
    QStringList entries(const QString& section) const;

    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value);
    void writeDate(const QString& section, const QString& key, const QDate& value);
    void eraseSection(const QString& section);

private:
    QString m_path;
};

} // namespace kontaro
