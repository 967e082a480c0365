#pragma once

#include <QStringList>

namespace kontaro::data {

class Session;

// The structure the posting commands build on: every account number once in the chart, and the
// posted lines ("=", "#") an unbroken run at the start of the journal. Returns one German sentence
// per fault found (which accounts, which lines), empty when the books are sound. Balances that
// differ from their ledger lines are not looked at here.
QStringList structureDamage(Session& session);

// The message with which a command that would build on the damage refuses; `command` names it.
QString damageRefusal(const QString& command, const QStringList& damage);

} // namespace kontaro::data
