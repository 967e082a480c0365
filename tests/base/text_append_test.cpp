#include "base/text_append.h"
#include "qstring_printer.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

// Whatever the bytes, they read as Qt's decoder reads them, after what the text held already.
TEST(TextAppend, Utf8ReadsAsQtReadsIt) {
    const std::string_view cases[] = {
        "",
        "Buchung 17 Erlös",
        "ÄÖÜäöüß",
        "Gebühr €",       // three bytes
        "Kaffee ☕ und 😀", // three and four bytes
        "\xC3",           // a lead byte at the end
        "a\x80z",         // a lone continuation byte
        "\xC0\x80",       // an overlong form
        "\xC3\x28",       // a lead byte without its continuation
        "ä\xE2\x82",      // a three-byte form cut short
    };
    for (const std::string_view bytes : cases) {
        QString text = QStringLiteral("x\t");
        kontaro::appendUtf8(text, bytes);
        EXPECT_EQ(text, QStringLiteral("x\t") + QString::fromUtf8(bytes.data(), qsizetype(bytes.size())))
            << bytes;
    }
}

TEST(TextAppend, IntegersAsQStringNumberWritesThem) {
    for (const std::int64_t value :
         {std::int64_t(0), std::int64_t(7), std::int64_t(-1), std::int64_t(120034),
          std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::min()}) {
        QString text = QStringLiteral("Bnr ");
        kontaro::appendInteger(text, value);
        EXPECT_EQ(text, QStringLiteral("Bnr ") + QString::number(value));
    }
}

} // namespace
