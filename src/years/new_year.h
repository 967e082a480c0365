#pragma once

#include "forms/windows.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace kontaro::years {

// The new-year command: prepares the opening postings of the balance-sheet accounts in the opening
// journal and carries the books into the directory of the next year beside the current one
// ("KT" + year). The program ends afterwards; started there, it offers the opening lines for
// posting.
//
// The new directory is filled under a temporary name and renamed when complete, so a crash never
// leaves half a year behind; an existing directory the user agreed to overwrite keeps the files it
// loses in a folder "Sicherung-..." and is never written while a program has it open.
class NewYear {
public:
    explicit NewYear(forms::Windows& windows);

    // Runs the command as part of the current user action; true when the new year is set up and the
    // program has to end.
    bool run();

private:
    // The opening lines of the B, K and U accounts in journal1.DB; the accounts whose line could not
    // be written are returned.
    QStringList writeOpeningLines(const QDate& date);

    forms::Windows& m_windows;
};

} // namespace kontaro::years
