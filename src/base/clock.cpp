#include "base/clock.h"

namespace kontaro {

namespace {

std::optional<QDateTime>& fixedNow() {
    static std::optional<QDateTime> value;
    return value;
}

} // namespace

QDateTime Clock::now() {
    if (const auto& fixed = fixedNow())
        return *fixed;
    return QDateTime::currentDateTime();
}

QDate Clock::today() {
    return now().date();
}

int Clock::currentYear() {
    return today().year();
}

void Clock::setFixed(const QDateTime& dateTime) {
    fixedNow() = dateTime;
}

void Clock::reset() {
    fixedNow().reset();
}

bool Clock::isFixed() {
    return fixedNow().has_value();
}

std::optional<QDateTime> Clock::fixedValue() {
    return fixedNow();
}

FixedClock::FixedClock(const QDateTime& dateTime)
    : m_previous(Clock::fixedValue()) {
    Clock::setFixed(dateTime);
}

FixedClock::FixedClock(const QDate& date)
    : FixedClock(QDateTime(date, QTime(12, 0))) {}

FixedClock::~FixedClock() {
    if (m_previous)
        Clock::setFixed(*m_previous);
    else
        Clock::reset();
}

} // namespace kontaro
