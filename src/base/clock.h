#pragma once

#include <QDate>
#include <QDateTime>
#include <optional>

namespace kontaro {

// The one source of "today", "now" and the current year. Every date rule asks it instead of the
// system, so tests and scenarios can pin the date and time. The program has one thread, so the
// state is a plain process-wide value.
class Clock {
public:
    static QDateTime now();
    static QDate today();
    static int currentYear();

    // Pins the clock to a local date and time until reset(); the clock does not advance.
    static void setFixed(const QDateTime& dateTime);
    // Back to the system clock.
    static void reset();
    static bool isFixed();
    // The pinned value, or nullopt while the system clock is in use.
    static std::optional<QDateTime> fixedValue();
};

// Pins the clock for a scope and restores whatever was in force before (nesting works).
class FixedClock {
public:
    explicit FixedClock(const QDateTime& dateTime);
    // Midday of the given date, far from any day boundary.
    explicit FixedClock(const QDate& date);
    ~FixedClock();
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;

private:
    std::optional<QDateTime> m_previous;
};

} // namespace kontaro
