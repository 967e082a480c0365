#include "data/invariant_sources.h"

#include "data/field_names.h"

namespace kontaro::invariants {

namespace {

template <int T> FieldOf<T> field(const data::Table& table, const QString& name) {
    return FieldOf<T>{table.layout().fieldIndex(name)};
}

} // namespace

LiveBooks::LiveBooks(data::Table& journal, data::Table& ledger, data::Table& accounts)
    : m_columns{&journal.columns(), &ledger.columns(), &accounts.columns()}
    , m_rows{&journal.natural(), &ledger.natural(), &accounts.defaultOrder()} {
    for (int t = 0; t < 3; ++t) {
        const data::OrderIndex& rows = *m_rows[t];
        std::size_t i = 0;
        while (i < rows.size() && rows.at(i)->slot == i)
            ++i;
        m_inSlotOrder[t] = i == rows.size();
    }
    namespace f = data::fields;
    const auto j = [&](const QString& name) { return field<0>(journal, name); };
    const auto l = [&](const QString& name) { return field<1>(ledger, name); };
    const auto a = [&](const QString& name) { return field<2>(accounts, name); };
    jBnr = j(f::Bnr);
    jSollKnt = j(f::SollKnt);
    jHabenKnt = j(f::HabenKnt);
    jUstKnt = j(f::UstKnt);
    jSollBetrag = j(f::SollBetrag);
    jHabenBetrag = j(f::HabenBetrag);
    jUstSoll = j(f::UstSoll);
    jUstHaben = j(f::UstHaben);
    jBuchtext = j(f::Buchtext);
    jAnr = j(f::Anr);
    jBeleg = j(f::Beleg);
    jDatum = j(f::Datum);
    jSollSaldo2 = j(f::SollSaldo2);
    jHabenSaldo2 = j(f::HabenSaldo2);
    jUstSaldo2 = j(f::UstSaldo2);
    jOk = j(f::Ok);
    lKnr = l(f::Knr);
    lBnr = l(f::Bnr);
    lSollBetrag = l(f::SollBetrag);
    lHabenBetrag = l(f::HabenBetrag);
    lGKnt = l(f::GKnt);
    lBuchtext = l(f::Buchtext);
    lAnr = l(f::Anr);
    lBeleg = l(f::Beleg);
    lDatum = l(f::Datum);
    lSaldo = l(f::Saldo);
    aKnr = a(f::Knr);
    aTyp = a(f::Typ);
    aSaldo = a(f::Saldo);
    aLastAnr = a(f::LastAnr);
}

} // namespace kontaro::invariants
