#include <gtest/gtest.h>

#include <vector>

#include "gridcore/CSysDataInfo.h"
#include "gridcore/CTableRow.h"
#include "support/CStringPrinter.h"

namespace {

std::vector<CString> Split(const CString& text, const CString& delimiter) {
    std::vector<CString> out;
    CTableRow::gSplit(text, delimiter, out);
    return out;
}

using Pieces = std::vector<CString>;

}  // namespace

TEST(CTableRowSplit, PiecesComeInTextOrder) {
    EXPECT_EQ((Pieces{"5", "7", "11"}), Split("5,7,11", ","));
}

TEST(CTableRowSplit, EmptyPiecesBetweenDelimitersAreKept) {
    EXPECT_EQ((Pieces{"a", "", "b"}), Split("a,,b", ","));
    EXPECT_EQ((Pieces{"", "a"}), Split(",a", ","));
}

TEST(CTableRowSplit, AFinalDelimiterAddsNoEmptyPiece) {
    EXPECT_EQ((Pieces{"a", "b"}), Split("a,b,", ","));
    EXPECT_EQ((Pieces{"a", ""}), Split("a,,", ","));
    EXPECT_EQ((Pieces{""}), Split(",", ","));
}

TEST(CTableRowSplit, EmptyTextGivesOneEmptyPiece) { EXPECT_EQ((Pieces{""}), Split("", ",")); }

TEST(CTableRowSplit, NothingIsTrimmed) { EXPECT_EQ((Pieces{" a ", " b"}), Split(" a , b", ",")); }

TEST(CTableRowSplit, TheWholeDelimiterSeparates) {
    EXPECT_EQ((Pieces{"a", "b:c", "d"}), Split("a::b:c::d", "::"));
    EXPECT_EQ((Pieces{"a", ":b"}), Split("a:::b", "::"));
}

TEST(CTableRowSplit, EmptyDelimiterGivesTheWholeText) {
    EXPECT_EQ((Pieces{"a,b"}), Split("a,b", ""));
}

TEST(CTableRowSplit, AppendsToTheListAndReturnsIt) {
    std::vector<CString> out{"old"};
    std::vector<CString>& result = CTableRow::gSplit("x;y", ";", out);
    EXPECT_EQ(&out, &result);
    EXPECT_EQ((Pieces{"old", "x", "y"}), out);
}

TEST(CTableRowFields, SettingANameAgainReplacesItsValueInPlace) {
    CTableRow row;
    row.SetFieldValue("Id", "1");
    row.SetFieldValue("Name", "a");
    row.SetFieldValue("Id", "2");
    EXPECT_EQ(2, row.GetFieldCount());
    EXPECT_EQ("Id", row.GetFieldName(0));
    EXPECT_EQ("2", row.GetFieldValue("Id"));
    EXPECT_EQ("a", row.GetCStringColoumByTable(1, 0));
}

TEST(CTableRowFields, UnknownNamesAndColumnsReadEmpty) {
    CTableRow row;
    row.SetFieldValue("Id", "1");
    EXPECT_EQ("", row.GetFieldValue("id"));
    EXPECT_EQ("", row.GetFieldName(1));
    EXPECT_EQ("", row.GetCStringColoumByTable(-1, 0));
    EXPECT_EQ("", row.GetCStringColoumByTable(1, 0));
}

TEST(CTableRowFields, DerivedRowsCanTakeOverSetFieldValue) {
    struct UpperRow : CTableRow {
        void SetFieldValue(const CString& name, const CString& value) override {
            CString upper(value);
            CTableRow::SetFieldValue(name, upper.MakeUpper());
        }
    };
    UpperRow derived;
    CTableRow& row = derived;
    row.SetFieldValue("Name", "abc");
    EXPECT_EQ("ABC", row.GetFieldValue("Name"));
}

TEST(CTableRowFields, CopiesHaveTheirOwnFields) {
    CSysDataInfo source(7, const_cast<char*>("seven"));
    CSysDataInfo copy(source);
    source.SetFieldValue(CSysDataInfo::kTextField, "changed");
    EXPECT_EQ(7, copy.GetDataID());
    EXPECT_EQ("seven", copy.GetDataText());
    CSysDataInfo fromPointer(&copy);
    EXPECT_EQ("seven", fromPointer.GetDataText());
    CSysDataInfo nullText(1, static_cast<char*>(nullptr));
    EXPECT_EQ("", nullText.GetDataText());
}
