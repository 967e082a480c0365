#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace kontaro::data {
class Cursor;
}
namespace kontaro::forms {
class Windows;
}

namespace kontaro::views {

// The rules that guard every save and every deletion of an account record made through the
// chart window's cursor, whoever makes it. A refusal tells the user why and throws Abort.
class KontoplanRules {
public:
    // `protecting` tells whether the protection toggle is running (then nothing may be deleted).
    KontoplanRules(forms::Windows& windows, std::function<bool()> protecting);
    ~KontoplanRules();
    KontoplanRules(const KontoplanRules&) = delete;
    KontoplanRules& operator=(const KontoplanRules&) = delete;

    // Hangs the rules on the cursor's before-post and before-delete events.
    void install(data::Cursor& chart);

    void beforeSave(data::Cursor& chart);
    void beforeDelete(data::Cursor& chart);

    // Whether a posting line names the account as debit, credit or VAT account (exact text).
    bool isUsedInJournal(const QString& knr);

private:
    // Refuses a second record with the same account number, as a unique key would.
    void refuseDuplicate(data::Cursor& chart);
    [[noreturn]] void refuse(const QString& message);

    forms::Windows& m_windows;
    std::function<bool()> m_protecting;
    std::unique_ptr<data::Cursor> m_journal;
    std::unique_ptr<data::Cursor> m_others;
};

} // namespace kontaro::views
