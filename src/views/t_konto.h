#pragma once

#include "forms/form.h"
#include "forms/windows.h"

#include <memory>

namespace kontaro::data {
class Cursor;
}
namespace kontaro::output {
class PageBuffer;
}

namespace kontaro::views {

// The ledger-account window ("Hauptbuch"): one account's master data in a header strip and its
// ledger lines, most recent first. The account follows the chart window's cursor unless the manual
// choice is ticked. It prints accounts and re-derives every account balance from the ledger.
class T_Konto : public forms::Form {
public:
    // Print modes, carried in the tag of `up_kontodruck`.
    enum PrintMode { PrintWithoutBankAndCash = 1, PrintAll = 2, PrintCurrent = 3 };

    explicit T_Konto(forms::Windows& windows);
    ~T_Konto() override;

    // Shows the first account whose number starts with `knr` (case-sensitive); no match keeps
    // the shown account.
    void setKontoWahl(const QString& knr);
    // Ticked: the shown account no longer follows the chart window.
    bool fixeKontowahl() const;
    // The accounts in account-number order; the current one is the account shown.
    data::Cursor& konten() const { return *m_konten; }
    // The shown account's ledger lines, most recent first.
    data::Cursor& zeilen() const { return *m_zeilen; }
    // After posting: back to the most recent ledger line, balance field emptied.
    void refreshAfterPosting();
    // Gives every account the balance of its most recent ledger line (0 without any).
    void saldenAbgleich();

    // Account printout: the shown account (PrintCurrent), or every account with ledger lines,
    // without the bank and cash accounts in PrintWithoutBankAndCash.
    void printAccounts(int mode);
    void printAllAccounts(bool withoutBankAndCash);

private:
    void showAccount();
    void setUpDisplays();
    void showLineInJournal();
    void printAccount(output::PageBuffer& re);

    forms::Windows& m_windows;
    std::unique_ptr<data::Cursor> m_konten;
    std::unique_ptr<data::Cursor> m_zeilen;
    std::unique_ptr<output::PageBuffer> m_re;
};

} // namespace kontaro::views
