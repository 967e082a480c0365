// Reading ZIP archives through libzip.
#include "bank/statement_file.h"
#include "base/errors.h"

#include <memory>
#include <zip.h>

namespace kontaro::bank {

namespace {

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct EntryCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

[[noreturn]] void refuse(const QString& zipName, const QString& what) {
    throw UserError(
        QStringLiteral("Kontoauszug \"%1\": %2\nDer Kontoauszug wurde nicht eingelesen.").arg(zipName, what));
}

QString libzipReason(zip_error_t* error) {
    return QString::fromUtf8(zip_error_strerror(error));
}

} // namespace

std::vector<XmlPart> unpackXmlEntries(const QByteArray& zip, const QString& zipName) {
    zip_error_t error;
    zip_error_init(&error);
    // The buffer stays ours (no freeing by libzip); the archive only reads it.
    zip_source_t* source = zip_source_buffer_create(zip.constData(), zip_uint64_t(zip.size()), 0, &error);
    if (!source) {
        const QString reason = libzipReason(&error);
        zip_error_fini(&error);
        refuse(zipName, QStringLiteral("die ZIP-Datei kann nicht gelesen werden (%1).").arg(reason));
    }
    std::unique_ptr<zip_t, ArchiveCloser> archive(
        zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error));
    if (!archive) {
        zip_source_free(source);
        const QString reason = libzipReason(&error);
        zip_error_fini(&error);
        refuse(zipName, QStringLiteral("ist keine lesbare ZIP-Datei (%1).").arg(reason));
    }
    zip_error_fini(&error);

    std::vector<XmlPart> parts;
    qint64 total = 0;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive.get(), zip_uint64_t(i), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME))
            refuse(zipName, QStringLiteral("Eintrag %1 der ZIP-Datei ist nicht lesbar.").arg(i + 1));
        const QString name = QString::fromUtf8(stat.name);
        if (name.endsWith(QLatin1Char('/')) || !name.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive))
            continue;
        const QString partName = zipName + QLatin1Char('/') + name;
        // The stated size decides before anything is unpacked; reading stops at it anyway.
        if (!(stat.valid & ZIP_STAT_SIZE) || stat.size > zip_uint64_t(MaxStatementBytes - total))
            refuse(partName,
                   QStringLiteral("ausgepackt größer als 200 MB; der Kontoauszug wird nicht eingelesen."));
        std::unique_ptr<zip_file_t, EntryCloser> file(zip_fopen_index(archive.get(), zip_uint64_t(i), 0));
        if (!file)
            refuse(partName, QStringLiteral("kann nicht ausgepackt werden (%1).")
                                 .arg(QString::fromUtf8(zip_strerror(archive.get()))));
        QByteArray bytes(qsizetype(stat.size), Qt::Uninitialized);
        const zip_int64_t read = zip_fread(file.get(), bytes.data(), stat.size);
        if (read < 0 || zip_uint64_t(read) != stat.size)
            refuse(partName, QStringLiteral("ist unvollständig oder beschädigt (%1).")
                                 .arg(QString::fromUtf8(zip_file_strerror(file.get()))));
        total += qint64(stat.size);
        parts.push_back({partName, std::move(bytes)});
    }
    return parts;
}

} // namespace kontaro::bank
