#include "base/text_append.h"

#include <QLatin1StringView>

namespace kontaro {

void appendUtf8(QString& out, std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t ascii = i;
        while (ascii < bytes.size() && static_cast<unsigned char>(bytes[ascii]) < 0x80)
            ++ascii;
        out.append(QLatin1StringView(bytes.data() + i, qsizetype(ascii - i)));
        i = ascii;
        if (i == bytes.size())
            return;
        // Two-byte characters (umlauts, ß, most of Latin and Greek) are decoded here; anything else
        // goes to Qt's decoder with the rest of the text, which also handles broken sequences.
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const auto next = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0u;
        if (lead >= 0xC2 && lead <= 0xDF && (next & 0xC0) == 0x80) {
            out.append(QChar(char16_t(((lead & 0x1F) << 6) | (next & 0x3F))));
            i += 2;
            continue;
        }
        out.append(QString::fromUtf8(bytes.data() + i, qsizetype(bytes.size() - i)));
        return;
    }
}

void appendInteger(QString& out, std::int64_t value) {
    char digits[24];
    char* end = digits + sizeof digits;
    char* begin = end;
    std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        *--begin = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *--begin = '-';
    out.append(QLatin1StringView(begin, qsizetype(end - begin)));
}

} // namespace kontaro
