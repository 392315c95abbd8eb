#include <gtest/gtest.h>

#include <vector>

#include "gridcore/CTableRow.h"
#include "support/CStringPrinter.h"

using Pieces = std::vector<CString>;

TEST(CTableRowSplit, SplitsAtTheWholeDelimiterKeepingInnerEmptyPieces) {
    // An empty text still gives one piece; a delimiter at the very end adds none.
    // clang-format off
    const struct { const char* text; const char* delimiter; Pieces pieces; } cases[] = {
        {"5,7,11", ",", {"5", "7", "11"}}, {"a,,b", ",", {"a", "", "b"}}, {",a", ",", {"", "a"}},
        {"a,b,", ",", {"a", "b"}},         {"a,,", ",", {"a", ""}},       {",", ",", {""}},
        {"", ",", {""}},                   {" a , b", ",", {" a ", " b"}}, {"a,b", "", {"a,b"}},
        {"a::b:c::d", "::", {"a", "b:c", "d"}}, {"a:::b", "::", {"a", ":b"}}};
    // clang-format on
    for (const auto& c : cases) {
        Pieces out{"old"};
        EXPECT_EQ(&out, &CTableRow::gSplit(c.text, c.delimiter, out));
        out.erase(out.begin());
        EXPECT_EQ(c.pieces, out) << '"' << c.text << "\" by \"" << c.delimiter << '"';
    }
}

TEST(CTableRowFields, NamesKeepTheirFirstPlaceAndCopiesHaveTheirOwnFields) {
    CTableRow row;
    row.SetFieldValue("Id", "1");
    row.SetFieldValue("Name", "a");
    row.SetFieldValue("Id", "2");
    const CTableRow copy(row);
    row.SetFieldValue("Name", "changed");
    EXPECT_EQ((Pieces{"", "Id", "Name", "", "2", "a", ""}),
              (Pieces{copy.GetFieldName(-1), copy.GetFieldName(0), copy.GetFieldName(1),
                      copy.GetFieldName(2), copy.GetFieldValue("Id"), copy.GetFieldValue("Name"),
                      copy.GetFieldValue("id")}));
    EXPECT_EQ((Pieces{"", "2", "changed", ""}),
              (Pieces{row.GetCStringColoumByTable(-1, 0), row.GetCStringColoumByTable(0, 0),
                      row.GetCStringColoumByTable(1, 0), row.GetCStringColoumByTable(2, 0)}));
}
