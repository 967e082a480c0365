#include "data/transaction.h"

#include "data/session.h"

namespace kontaro::data {

Transaction::Transaction(Session& session)
    : m_session(session)
    , m_owner(!session.inTransaction()) {
    if (m_owner)
        m_session.begin();
}

Transaction::~Transaction() {
    if (m_owner && !m_done) {
        try {
            m_session.rollback();
        } catch (...) {
            // Nothing more can be done while unwinding; the file itself is rolled back.
        }
    }
}

void Transaction::commit() {
    if (m_owner && !m_done)
        m_session.commit();
    m_done = true;
}

void Transaction::rollback() {
    if (m_owner && !m_done) {
        m_done = true;
        m_session.rollback();
    }
}

} // namespace kontaro::data
