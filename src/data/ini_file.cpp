#include "data/ini_file.h"

#include "base/errors.h"
#include "base/text_file.h"

#include <QDir>
#include <QFileInfo>

namespace kontaro {

namespace {

// The part of a FileError message from the text-file layer after its own "...: " prefix: the
// system's reason.
QString systemReason(const FileError& error) {
    const QString message = error.message();
    const QString marker = QStringLiteral("werden: ");
    const qsizetype at = message.indexOf(marker);
    return at < 0 ? message : message.mid(at + marker.size());
}

// Says in German why a write failed, as far as the file system tells; Qt's own reason is English.
QString writeFailureReason(const QString& path, const FileError& error) {
    const QFileInfo file(path);
    const QFileInfo directory(file.absolutePath());
    if (file.isDir())
        return QStringLiteral("Unter diesem Namen steht ein Verzeichnis.");
    if (!directory.isDir())
        return QStringLiteral("Das Verzeichnis \"%1\" fehlt.")
            .arg(QDir::toNativeSeparators(directory.absoluteFilePath()));
    if (file.exists() && !file.isWritable())
        return QStringLiteral("Die Datei ist schreibgeschützt.");
    if (!file.exists() && !directory.isWritable())
        return QStringLiteral("Das Verzeichnis \"%1\" ist schreibgeschützt.")
            .arg(QDir::toNativeSeparators(directory.absoluteFilePath()));
    return systemReason(error);
}

QByteArray readSettingsFile(const QString& path) {
    try {
        return text::readFile(path);
    } catch (const FileError& error) {
        throw FileError(QStringLiteral("Die Einstellungsdatei \"%1\" kann nicht gelesen werden: %2")
                            .arg(QFileInfo(path).fileName(), systemReason(error)));
    }
}

} // namespace

IniFile::IniFile(QString path)
    : m_path(std::move(path)) {}

QString IniFile::resolvedPath() const {
    const QFileInfo wanted(m_path);
    if (wanted.isFile())
        return m_path;
    const QDir directory = wanted.absoluteDir();
    const QStringList names = directory.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : names) {
        if (name.compare(wanted.fileName(), Qt::CaseInsensitive) == 0)
            return directory.filePath(name);
    }
    return m_path;
}

IniDocument IniFile::load() const {
    const QString path = resolvedPath();
    if (!QFileInfo(path).isFile())
        return {};
    return IniDocument::fromBytes(readSettingsFile(path));
}

void IniFile::update(const std::function<void(IniDocument&)>& change) {
    const QString path = resolvedPath();
    const bool exists = QFileInfo(path).isFile();
    const QByteArray before = exists ? readSettingsFile(path) : QByteArray();
    IniDocument document = IniDocument::fromBytes(before);
    change(document);
    const QByteArray after = document.toBytes();
    // Writing the stored value again or erasing a missing section leaves the file (or its absence)
    // alone, so that such a call cannot fail on a read-only file.
    if (exists ? after == before : after.isEmpty())
        return;
    try {
        text::writeFile(path, after);
    } catch (const FileError& error) {
        throw FileError(QStringLiteral("Die Einstellungsdatei \"%1\" kann nicht geschrieben werden: %2")
                            .arg(QFileInfo(path).fileName(), writeFailureReason(path, error)));
    }
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const {
    return load().readString(section, key, defaultValue);
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const {
    return load().readInteger(section, key, defaultValue);
}

bool IniFile::readBool(const QString& section, const QString& key, bool defaultValue) const {
    return load().readBool(section, key, defaultValue);
}

QDate IniFile::readDate(const QString& section, const QString& key, const QDate& defaultValue) const {
    return load().readDate(section, key, defaultValue);
}

QStringList IniFile::keys(const QString& section) const {
    return load().keys(section);
}

QStringList IniFile::entries(const QString& section) const {
    return load().entries(section);
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    update([&](IniDocument& document) { document.writeString(section, key, value); });
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) {
    update([&](IniDocument& document) { document.writeInteger(section, key, value); });
}

void IniFile::writeBool(const QString& section, const QString& key, bool value) {
    update([&](IniDocument& document) { document.writeBool(section, key, value); });
}

void IniFile::writeDate(const QString& section, const QString& key, const QDate& value) {
    update([&](IniDocument& document) { document.writeDate(section, key, value); });
}

void IniFile::eraseSection(const QString& section) {
    update([&](IniDocument& document) { document.eraseSection(section); });
}

} // namespace kontaro
