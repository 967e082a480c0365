#pragma once

#include <QString>
#include <cstdint>
#include <string_view>

namespace kontaro {

// Appending to a text being built, without a QString of its own for each piece: for long walks
// that write a line per row (exports, printouts).

// UTF-8 bytes as QString::fromUtf8 reads them.
void appendUtf8(QString& out, std::string_view bytes);

// Plain decimal digits with a minus sign for negatives, as QString::number writes them.
void appendInteger(QString& out, std::int64_t value);

} // namespace kontaro
