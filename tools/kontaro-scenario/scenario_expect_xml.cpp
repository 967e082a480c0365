// "expect xml": chosen elements of an XML file in the data directory.
#include "base/text_file.h"
#include "scenario_runner.h"

#include <QFile>
#include <QHash>
#include <QXmlStreamReader>

namespace kontaro::scenario {

namespace {

// The text of every element without child elements, by its path below the root element
// ("ERKLAERUNG/ALLGEMEINE_DATEN/ZRVON"); the first one wins where a path repeats.
QHash<QString, QString> leafTexts(const QByteArray& xml, const QString& name) {
    QHash<QString, QString> texts;
    QXmlStreamReader reader(xml);
    QStringList path;
    QString text;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            path << reader.name().toString();
            text.clear();
        } else if (reader.isCharacters()) {
            text += reader.text();
        } else if (reader.isEndElement()) {
            const QString key = path.mid(1).join(QLatin1Char('/'));
            if (!key.isEmpty() && !texts.contains(key))
                texts.insert(key, text.trimmed());
            path.removeLast();
            text.clear();
        }
    }
    if (reader.hasError())
        throw StepFailure(
            QStringLiteral("Datei %1 ist kein gültiges XML: %2").arg(name, reader.errorString()));
    return texts;
}

} // namespace

// expect xml NAME with "| PATH = VALUE" lines: only the listed elements are compared; an
// element that is not there reads as empty.
void ScenarioRunner::expectXml(QString arguments, const Step& step) {
    const QString name = takeWord(arguments);
    const QString path = m_directory + QLatin1Char('/') + name;
    if (!QFile::exists(path))
        throw StepFailure(QStringLiteral("Datei %1 fehlt").arg(name));
    const QHash<QString, QString> texts = leafTexts(text::readFile(path), name);
    for (const QString& line : blockTexts(step.block)) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            throw StepFailure(QStringLiteral("\"PFAD = WERT\" erwartet: %1").arg(line));
        const QString element = line.left(equals).trimmed();
        const QString expected = line.mid(equals + 1).trimmed();
        const QString actual = texts.value(element);
        if (actual != expected)
            throw StepFailure(
                QStringLiteral("%1 %2: erwartet \"%3\", ist \"%4\"").arg(name, element, expected, actual));
    }
}

} // namespace kontaro::scenario
