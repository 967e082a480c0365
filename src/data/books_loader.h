#pragma once

#include "data/books_snapshot.h"

namespace kontaro::data {

class Session;

// Copies journal.DB (in journal order), konten.DB (in the order its lines were written) and
// kntplan.DB of the session's data directory into plain rows, for the invariant checker and tests.
BooksSnapshot loadBooks(Session& session);

} // namespace kontaro::data
