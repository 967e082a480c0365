#include "support/test_program.h"

#include "data/books_builder.h"

#include <stdexcept>

namespace kontaro::test {

TestBooks::TestBooks(const QStringList& lines, const QString& name) {
    if (!m_root.isValid())
        throw std::runtime_error("no temporary directory");
    m_directory = m_root.path() + QLatin1Char('/') + name;
    data::buildBooks(m_directory, lines);
}

TestProgram::TestProgram(const QStringList& bookLines)
    : m_books(bookLines)
    , m_app(std::make_unique<app::T_Kontaro>(m_ui, m_books.directory())) {
    if (!m_app->start())
        throw std::runtime_error(
            "the program did not start: " +
            m_ui.shownTexts(QStringLiteral("message")).join(QLatin1Char('\n')).toStdString());
}

TestProgram::~TestProgram() = default;

} // namespace kontaro::test
