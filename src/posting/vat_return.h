#pragma once

#include <QStringList>

namespace kontaro::forms {
class Windows;
}

namespace kontaro::posting {

// The VAT return of a closing as text files in the data directory and on paper.

// Saves the return as "ustmeldung.txt" and as "ustmeldung" + month + ".txt", then prints it and
// says where it is. A printer that fails leaves the files; the message then names them and how to
// print them later. Run it after the closing lines are committed: a return must never outlive
// closing lines that were rolled back.
void saveAndPrintVatReturn(forms::Windows& windows, const QStringList& lines, int month);

// Prints the last saved return ("ustmeldung.txt") again, as the closing printed it.
void printSavedVatReturn(forms::Windows& windows);

} // namespace kontaro::posting
