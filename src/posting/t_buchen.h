#pragma once

#include "base/money.h"
#include "forms/form.h"
#include "forms/windows.h"

#include <QDate>
#include <QStringList>
#include <memory>
#include <optional>

namespace kontaro::data {
class Cursor;
}

namespace kontaro::posting {

// The posting window. It shows the current line of the journal with its accounts, VAT and the
// balances before and after posting, colours the entry fields, and carries the message line whose
// first letter decides whether the line may be posted. Its buttons post, undo, insert, delete and
// protect lines, close the VAT accounts, and fill the entry fields (templates, voucher and statement
// numbers, date steps, currency conversion, account search).
class T_Buchen : public forms::Form {
public:
    explicit T_Buchen(forms::Windows& windows);
    ~T_Buchen() override;

    // The fixed password that lifts the protection of posted lines.
    static QString protectionPassword();

    // The current line; it is kept in edit.
    data::Cursor& line() const { return *m_j; }
    // The message line is red: the current line may not be posted.
    bool isMeldungRed() const;
    // The insert command has run since start (also in its append form, also when it refused).
    bool einfuegung() const { return m_einfuegung; }
    QDate datumGesichert() const { return m_datumGesichert; }
    QDate datumVorgaenger() const { return m_datumVorgaenger; }
    // The year the books are kept for: that of the first posted line, else the year in the data
    // directory's name, else the current year.
    int fiscalYear() const;

    // What a command changes in memory besides the tables: taken before each user action and put
    // back when the action is rolled back, so the window agrees with the tables again.
    struct MemoryState {
        QDate datumGesichert;
        QDate datumVorgaenger;
        std::int64_t euroAlt = 0;
        QString originalBetrag;
        bool einfuegung = false;
        QString belegTX;
        QString belegALT;
        int belegNR = 0;
        int anrNr = 0;
    };
    MemoryState memoryState() const;
    void restoreMemoryState(const MemoryState& state);

    // The commands, callable without the buttons.
    void validate();
    void post();
    void undo();
    // Before the current line (the insert button) or, with `before` false, appended at the end.
    void insertLine(bool before);
    void deleteLine();
    void protect();
    void statusCheck(bool askPassword);
    // Refuses (message, then Abort) a command that would build on damaged books: accounts with the
    // same number, or a posted line after an unposted one. `command` names it in the message.
    void refuseOnDamage(const QString& command);
    // The check sums of the status check: the posted run of the journal against the whole ledger.
    // Posts the current line first when the journal window shows it with another mark. False
    // (after its message) when debit and credit or journal and ledger differ.
    bool checkSums();
    // Writes the voucher and statement counters to the settings file (at program end).
    void saveCounters() const;
    // Closes the VAT accounts: prepared closing lines before the current line, the VAT return
    // printed and saved as text files.
    void closeVat();
    // Opens the file of a voucher from the voucher folder with its program (the voucher field's
    // "#", and the main menu's voucher of the journal's current line).
    void showVoucher(const QString& beleg);

protected:
    void onDeactivate() override;

private:
    void startUp();
    void bindControls();
    void connectHandlers();

    // Entry.
    void editLine();
    void saveLine();
    void amountRule(bool sollSide);
    void enterBuchtext();
    void colourBuchtext();
    void stepDate(int days);
    void moveToNextField(const QString& from);
    // The type letter of the account a cursor stands on; empty when it stands on none.
    static QString typOf(const data::Cursor& account);
    // An income or expense account gives the line its VAT, except against an X account.
    static bool takesVat(const QString& ownTyp, const QString& otherTyp);
    // The account whose VAT account and rate the line takes (the credit account when both
    // could), or nullptr.
    const data::Cursor* vatAccount() const;
    // An amount dragged from another field or the ledger grid onto an amount field.
    void dropAmount(const QString& target, const QString& source);
    void accountChanged(const QString& field);
    void followLineAccounts();
    bool accountsShown() const;
    void setMeldung(const QString& text);
    // The red messages checked after the validation's own table (see there).
    void checkBeyondTable();
    void syncOtherWindows();

    // Posting.
    void removeLedgerLines(std::int64_t bnr);
    void writeLedgerLine(const QString& knr, const QString& gegenKnt, std::optional<Money> soll,
                         std::optional<Money> haben, Money saldo);
    void storeBalance(data::Cursor& account, Money saldo);
    void restoreBalance(data::Cursor& account, data::Cursor& latest);
    void resetFirstPosting();
    QString presetAccount() const;
    // The insert command after its checks: a new line with the preset account of the line the
    // cursor is on, before it or appended at the end.
    void addLine(bool before);
    bool lineIsFirst() const;
    void writeProtectionDate();

    forms::Windows& m_windows;

    // J: the current line; S, H, U: the debit, credit and VAT account records following it;
    // K: the ledger (Knr, Bnr); SL, HL, UL: the ledger lines of S, H and U in Knr, Bnr order, for
    // the most recent line of an account; m_chart: the chart for look-ups and walks; m_walk: the
    // journal for the walks of protect and of the status check.
    std::unique_ptr<data::Cursor> m_j;
    std::unique_ptr<data::Cursor> m_s;
    std::unique_ptr<data::Cursor> m_h;
    std::unique_ptr<data::Cursor> m_u;
    std::unique_ptr<data::Cursor> m_k;
    std::unique_ptr<data::Cursor> m_sl;
    std::unique_ptr<data::Cursor> m_hl;
    std::unique_ptr<data::Cursor> m_ul;
    std::unique_ptr<data::Cursor> m_chart;
    std::unique_ptr<data::Cursor> m_walk;

    QDate m_datumGesichert;
    QDate m_datumVorgaenger;
    // The credit amount before the first currency conversion, in units of Money; 0: none.
    std::int64_t m_euroAlt = 0;
    QString m_originalBetrag;
    QString m_textdateikennung;
    bool m_einfuegung = false;
    bool m_started = false;
    QString m_belegTX;
    QString m_belegALT;
    int m_belegNR = 0;
    int m_anrNr = 0;
    QStringList m_vorlagen;
    QStringList m_damage; // found at start; checked again by refuseOnDamage until mended

    // Posting aids: templates, voucher and statement numbers, swap, currency conversion, last
    // ledger amount, account search and the switch of the ledger window.
    void connectAids();
    void storeTemplate();
    void deleteTemplate();
    void nameAsBuchtext(const data::Cursor& account);
    void setBeleg(const QString& beleg);
    void setAnr(int anr);
    void swapAccounts();
    void convertCurrency(bool multiply);
    void restoreEuroAlt();
    void takeLastLedgerAmount();
    void switchLedgerAccount();
    void pickVoucherFile();
    void searchAccount();
    void continueAccountSearch();
    // The account search term, upper case, kept from one search to the next.
    QString m_suchbegriff;
    // What the account fields showed at their last lookup.
    QString m_shownSoll;
    QString m_shownHaben;
};

} // namespace kontaro::posting
