#pragma once

#include <QString>

// Field names of the book tables, spelled once.
namespace kontaro::data::fields {

inline const QString Bnr = QStringLiteral("Bnr");
inline const QString Knr = QStringLiteral("Knr");
inline const QString Typ = QStringLiteral("Typ");
inline const QString Ok = QStringLiteral("Ok");
inline const QString Anr = QStringLiteral("Anr");
inline const QString SollKnt = QStringLiteral("SollKnt");
inline const QString HabenKnt = QStringLiteral("HabenKnt");
inline const QString UstKnt = QStringLiteral("UstKnt");
inline const QString UstP = QStringLiteral("UstP");
inline const QString SollBetrag = QStringLiteral("SollBetrag");
inline const QString HabenBetrag = QStringLiteral("HabenBetrag");
inline const QString UstSoll = QStringLiteral("UstSoll");
inline const QString UstHaben = QStringLiteral("UstHaben");
inline const QString Saldo = QStringLiteral("Saldo");
inline const QString Budget = QStringLiteral("Budget");
inline const QString LastAnr = QStringLiteral("LastAnr");
inline const QString Name = QStringLiteral("Name");
inline const QString Gruppe = QStringLiteral("Gruppe");
inline const QString GKnt = QStringLiteral("GKnt");
inline const QString Datum = QStringLiteral("Datum");
inline const QString Buchtext = QStringLiteral("Buchtext");
inline const QString Beleg = QStringLiteral("Beleg");
inline const QString SollSaldo2 = QStringLiteral("SollSaldo2");
inline const QString HabenSaldo2 = QStringLiteral("HabenSaldo2");
inline const QString UstSaldo2 = QStringLiteral("UstSaldo2");

} // namespace kontaro::data::fields
