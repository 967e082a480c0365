#include "reports/u30_return.h"
#include "reports/uva_export.h"

#include <gtest/gtest.h>

using kontaro::Money;
using namespace kontaro::reports;

namespace {

Money cents(std::int64_t value) {
    return Money::fromCents(value);
}

// A posted line: debit account, credit account, their amounts and the VAT of the line.
PostingLine line(const char* soll, const char* haben, std::int64_t sollCents, std::int64_t habenCents,
                 int ustP = 0, const char* ustKnt = "", std::int64_t ustSollCents = 0,
                 std::int64_t ustHabenCents = 0) {
    PostingLine l;
    l.ok = QStringLiteral("=");
    l.sollKnt = QString::fromUtf8(soll);
    l.habenKnt = QString::fromUtf8(haben);
    l.sollBetrag = cents(sollCents);
    l.habenBetrag = cents(habenCents);
    l.ustP = ustP;
    l.ustKnt = QString::fromUtf8(ustKnt);
    l.ustSoll = cents(ustSollCents);
    l.ustHaben = cents(ustHabenCents);
    return l;
}

// A small chart: bank, income at 20/10/13 % and tax-free, expenses, acquisitions, VAT accounts.
QHash<QString, U30Account> chart() {
    QHash<QString, U30Account> accounts;
    const auto add = [&](const char* knr, const char* typ, int ustP = -1) {
        accounts.insert(QString::fromUtf8(knr),
                        U30Account{QString::fromUtf8(typ), std::max(ustP, 0), ustP >= 0});
    };
    add("2800", "B");
    add("4000", "E", 20);
    add("4010", "E", 10);
    add("4013", "e", 13); // protected, still income
    add("4090", "E", 0);
    add("4100", "E", 0);
    add("5000", "A", 20);
    add("5100", "A", 20);
    add("5200", "A", 10);
    add("5300", "A");
    add("5000*E20", "A");
    add("5000*E13", "A");
    add("5000*EX", "A");
    add("1600", "U");
    return accounts;
}

U30Figures figuresOf(const std::vector<PostingLine>& lines, QHash<QString, int> mapping = {},
                     int rateX = 13) {
    U30Return ret(chart(), std::move(mapping), rateX);
    for (const PostingLine& l : lines)
        ret.add(l);
    return ret.finish();
}

QString refusalOf(const std::vector<PostingLine>& lines, QHash<QString, int> mapping = {}) {
    try {
        figuresOf(lines, std::move(mapping));
    } catch (const U30Refusal& refusal) {
        return refusal.message();
    }
    return {};
}

QStringList writtenFields(const U30Figures& figures) {
    QStringList names;
    for (const U30Field& f : figures.fields)
        names << f.kennzahl->name() + QLatin1Char('=') + UvaExport::amountText(f.value);
    return names;
}

const UvaExport::Period Q1{1, 3, QStringLiteral("Q1")};

TEST(U30ReturnTest, ZeroFieldsAndEmptyGroupsAreLeftOutButKz000Stays) {
    const U30Figures empty = figuresOf({});
    EXPECT_EQ(writtenFields(empty), QStringList{QStringLiteral("KZ000=0.00")});
    const QString emptyXml = QString::fromUtf8(UvaExport::xml(empty, Q1, 2026, QStringLiteral("123456789")));
    EXPECT_TRUE(emptyXml.contains(QStringLiteral("<LIEFERUNGEN_LEISTUNGEN_EIGENVERBRAUCH>\n"
                                                 "      <KZ000 type=\"kz\">0.00</KZ000>\n"
                                                 "    </LIEFERUNGEN_LEISTUNGEN_EIGENVERBRAUCH>\n"
                                                 "  </ERKLAERUNG>")))
        << qPrintable(emptyXml);

    // A sale at 20 % and one that nets to zero at 10 %: no 10 % field, no acquisitions, no input tax.
    const U30Figures sales = figuresOf({line("2800", "4000", 12000, 10000, 20, "UST20", 0, 2000),
                                        line("2800", "4010", 1100, 1000, 10, "UST10", 0, 100),
                                        line("4010", "2800", 1000, 1100, 10, "UST10", 100, 0)});
    EXPECT_EQ(writtenFields(sales),
              (QStringList{QStringLiteral("KZ000=100.00"), QStringLiteral("KZ022=100.00")}));
    const QString xml = QString::fromUtf8(UvaExport::xml(sales, Q1, 2026, QStringLiteral("123456789")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<VERSTEUERT>\n        <KZ022 type=\"kz\">100.00</KZ022>\n"
                                            "      </VERSTEUERT>")))
        << qPrintable(xml);
    for (const char* absent : {"KZ029", "KZ006", "INNERGEMEINSCHAFTLICHE_ERWERBE", "VORSTEUER", ">0.00<"})
        EXPECT_FALSE(xml.contains(QString::fromLatin1(absent))) << absent;
}

TEST(U30ReturnTest, ANegativeFieldIsRefusedNamingFieldAmountAndAccounts) {
    struct Case {
        const char* name;
        std::vector<PostingLine> lines;
        const char* expected;
    };
    const Case cases[] = {
        {"credit notes above the sales",
         {line("2800", "4000", 6000, 5000, 20, "UST20", 0, 1000),
          line("4000", "2800", 8000, 9600, 20, "UST20", 1600)},
         "UVA-Export nicht möglich: KZ022 wäre negativ (-30,00 aus Konto 4000). Das Formular nimmt in diesem "
         "Feld "
         "keinen negativen Betrag an."},
        {"input tax refunded by two accounts",
         {line("2800", "5000", 2400, 2000, 20, "VST20", 0, 400),
          line("2800", "5200", 1100, 1000, 10, "VST10", 0, 100)},
         "UVA-Export nicht möglich: KZ060 wäre negativ (-5,00 aus Konten 5000, 5200). Das Formular nimmt in "
         "diesem "
         "Feld keinen negativen Betrag an."},
        {"an acquisition returned",
         {line("1600", "5000*E20", 100000, 100000)},
         "UVA-Export nicht möglich: KZ072 wäre negativ (-1.000,00 aus Konto 5000*E20). Das Formular nimmt in "
         "diesem "
         "Feld keinen negativen Betrag an."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(refusalOf(c.lines), QString::fromUtf8(c.expected)) << c.name;
}

TEST(U30ReturnTest, AFigureOutOfRangeIsRefusedByName) {
    // 500.000.000.000.000,00 fits an amount, its 20 % tax does not.
    const std::int64_t huge = 50'000'000'000'000'000;
    EXPECT_EQ(
        refusalOf({line("2800", "4000", huge, huge, 20)}),
        QStringLiteral("UVA-Export nicht möglich: Betrag außerhalb des darstellbaren Bereichs (Steuer zur "
                       "KZ022)."));
    EXPECT_EQ(refusalOf({line("2800", "4090", huge, huge), line("2800", "4100", huge, huge)}),
              QStringLiteral("UVA-Export nicht möglich: Betrag außerhalb des darstellbaren Bereichs (nicht "
                             "gemeldete Umsätze)."));
}

TEST(U30ReturnTest, PayableComesFromTheBasesAndTheVatBalanceFromTheVatLines) {
    // 100,05 at 13 % is 13,0065: 13,01 from the base, 13,00 posted.
    const U30Figures figures = figuresOf({line("2800", "4013", 11305, 10005, 13, "UST13", 0, 1300),
                                          line("5000", "2800", 30000, 36000, 20, "VST20", 6000, 0)});
    EXPECT_EQ(figures.payable, cents(1301 - 6000));
    EXPECT_EQ(figures.vatBalance, cents(1300 - 6000));
}

TEST(U30ReturnTest, TheTaxNumberLosesBlanksSlashesAndDashesAndIsNeverCut) {
    struct Case {
        const char* typed;
        const char* expected; // empty: refused with `message`
        const char* message;
    };
    const Case cases[] = {
        {"123456789", "123456789", ""},
        {"12 345/6789", "123456789", ""},
        {" 12-345-6789 ", "123456789", ""},
        {"1234567890", "",
         "UVA-Export nicht möglich: die Steuernummer \"1234567890\" hat nicht genau 9 Ziffern "
         "(Finanzamtsnummer und "
         "Steuernummer)."},
        {"12 345/678", "",
         "UVA-Export nicht möglich: die Steuernummer \"12 345/678\" hat nicht genau 9 Ziffern "
         "(Finanzamtsnummer und "
         "Steuernummer)."},
        {"12.345.6789", "",
         "UVA-Export nicht möglich: die Steuernummer \"12.345.6789\" darf nur Ziffern enthalten "
         "(Leerzeichen, \"/\" "
         "und \"-\" werden übergangen)."},
    };
    for (const Case& c : cases) {
        const QString typed = QString::fromUtf8(c.typed);
        if (*c.expected) {
            EXPECT_EQ(UvaExport::portalFastnr(typed), QString::fromUtf8(c.expected)) << c.typed;
            continue;
        }
        try {
            UvaExport::portalFastnr(typed);
            ADD_FAILURE() << c.typed << " accepted";
        } catch (const U30Refusal& refusal) {
            EXPECT_EQ(refusal.message(), QString::fromUtf8(c.message));
        }
    }
}

} // namespace
