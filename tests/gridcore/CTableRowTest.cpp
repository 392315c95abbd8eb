#include <gtest/gtest.h>

#include <vector>

#include "gridcore/CSysDataInfo.h"
#include "gridcore/CTableRow.h"
#include "support/CStringPrinter.h"

namespace {

using Pieces = std::vector<CString>;

TEST(CTableRowSplit, SplitsAtTheWholeDelimiterKeepingInnerEmptyPieces) {
    const struct {
        const char* text;
        const char* delimiter;
        Pieces pieces;
    } cases[] = {
        {"5,7,11", ",", {"5", "7", "11"}},
        {"a,,b", ",", {"a", "", "b"}},
        {",a", ",", {"", "a"}},
        {"a,b,", ",", {"a", "b"}},  // no piece after the end
        {"a,,", ",", {"a", ""}},
        {",", ",", {""}},
        {"", ",", {""}},
        {" a , b", ",", {" a ", " b"}},
        {"a::b:c::d", "::", {"a", "b:c", "d"}},
        {"a:::b", "::", {"a", ":b"}},
        {"a,b", "", {"a,b"}},
    };
    for (const auto& c : cases) {
        Pieces out{"old"};
        Pieces& result = CTableRow::gSplit(c.text, c.delimiter, out);
        EXPECT_EQ(&out, &result);
        Pieces expected{"old"};
        expected.insert(expected.end(), c.pieces.begin(), c.pieces.end());
        EXPECT_EQ(expected, out) << '"' << c.text << "\" by \"" << c.delimiter << '"';
    }
}

TEST(CTableRowFields, NamesKeepTheirFirstPlaceAndUnknownOnesReadEmpty) {
    CTableRow row;
    row.SetFieldValue("Id", "1");
    row.SetFieldValue("Name", "a");
    row.SetFieldValue("Id", "2");
    EXPECT_EQ(2, row.GetFieldCount());
    EXPECT_EQ((Pieces{"Id", "Name", ""}),
              (Pieces{row.GetFieldName(0), row.GetFieldName(1), row.GetFieldName(2)}));
    EXPECT_EQ((Pieces{"2", "a", ""}),
              (Pieces{row.GetFieldValue("Id"), row.GetCStringColoumByTable(1, 0),
                      row.GetFieldValue("id")}));
    EXPECT_EQ("", row.GetCStringColoumByTable(-1, 0));
    EXPECT_EQ("", row.GetCStringColoumByTable(2, 0));
}

TEST(CTableRowFields, CopiesHaveTheirOwnFields) {
    CSysDataInfo source(7, const_cast<char*>("seven"));
    CSysDataInfo copy(source);
    source.SetFieldValue(CSysDataInfo::kTextField, "changed");
    EXPECT_EQ(7, copy.GetDataID());
    EXPECT_EQ("seven", copy.GetDataText());
    EXPECT_EQ("seven", CSysDataInfo(&copy).GetDataText());
    EXPECT_EQ("", CSysDataInfo(1, static_cast<char*>(nullptr)).GetDataText());
}

}  // namespace
