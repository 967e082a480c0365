#pragma once

namespace kontaro::data {

class Session;

// The session transaction around one user action:
//     Transaction t(session); ...; t.commit();
// Leaving the scope without commit() rolls everything back and reloads the tables. A guard
// created while a transaction runs joins it and leaves commit and rollback to the outer one.
class Transaction {
public:
    explicit Transaction(Session& session);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    void rollback();

private:
    Session& m_session;
    bool m_owner;
    bool m_done = false;
};

} // namespace kontaro::data
