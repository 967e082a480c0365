#include "support/test_program.h"
#include "years/t_alt.h"

#include <gtest/gtest.h>

using namespace kontaro;

TEST(AltLayout, FilterOnArchiveNoticeHiddenAndEightYearFieldsLatestFirst) {
    test::TestProgram program;
    years::T_alt& alt = program.app().alt();
    EXPECT_TRUE(alt.control("kontofilter").checked);
    EXPECT_EQ(alt.control("kontofilter").caption, "Filter");
    EXPECT_FALSE(alt.control("ALT_INFO").visible);
    EXPECT_EQ(alt.control("ALT_INFO").caption, "knt9plan.db(f) u. journal9.db(f) fehlt !");
    EXPECT_EQ(alt.control("Series1").color, forms::Color::Red);

    QStringList fields;
    for (const forms::Control* c : alt.controls())
        if (c->name().startsWith("edit"))
            fields << c->name();
    EXPECT_EQ(fields, QStringList({"edit8", "edit7", "edit6", "edit5", "edit4", "edit3", "edit2", "edit1"}));

    alt.type("kntNr", "bank");
    EXPECT_EQ(alt.control("kntNr").text(), "BANK");
}
