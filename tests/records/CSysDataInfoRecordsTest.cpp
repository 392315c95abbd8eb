#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "records/CSysDataInfoRightCode.h"
#include "records/CSysDataInfo_VecStr.h"
#include "support/CStringPrinter.h"

namespace {

std::vector<CString> Columns(CTableRow& row, int count) {
    std::vector<CString> texts;
    for (int i = 0; i < count; ++i) texts.push_back(row.GetCStringColoumByTable(i, 0));
    return texts;
}

using Texts = std::vector<CString>;

}  // namespace

TEST(CSysDataInfo_VecStrTest, TextsTakeColumnsInTheOrderAdded) {
    CSysDataInfo_VecStr row;
    row.AddData("a");
    row.AddData("b");
    row.AddData("c");
    EXPECT_EQ((Texts{"a", "b", "c"}), Columns(row, 3));
}

TEST(CSysDataInfo_VecStrTest, ColumnsOutsideTheTextsReadEmpty) {
    CSysDataInfo_VecStr row;
    EXPECT_EQ("", row.GetCStringColoumByTable(0, 0));
    row.AddData("first");
    row.AddData("second");
    EXPECT_EQ("", row.GetCStringColoumByTable(-1, 0));
    EXPECT_EQ("", row.GetCStringColoumByTable(2, 0));
    EXPECT_EQ("first", row.GetCStringColoumByTable(0, 99));
}

TEST(CSysDataInfo_VecStrTest, TheOverrideAnswersThroughTheBaseRow) {
    CSysDataInfo_VecStr row(3, const_cast<char*>("name"));
    row.AddData("shown");
    CTableRow& base = row;
    EXPECT_EQ("shown", base.GetCStringColoumByTable(0, 0));
    EXPECT_EQ("", base.GetCStringColoumByTable(1, 0));
}

TEST(CSysDataInfo_VecStrTest, TextConstructorsStartWithoutColumns) {
    CString text("name");
    CSysDataInfo_VecStr row(5, text);
    EXPECT_EQ(5, row.GetDataID());
    EXPECT_EQ("name", row.GetDataText());
    EXPECT_EQ("", row.GetCStringColoumByTable(0, 0));
}

TEST(CSysDataInfo_VecStrTest, CopyKeepsItsTextsWhenTheSourceGoes) {
    auto source = std::make_unique<CSysDataInfo_VecStr>(9, const_cast<char*>("nine"));
    source->AddData("x");
    source->AddData("y");
    CSysDataInfo_VecStr copy(*source);
    CSysDataInfo_VecStr fromPointer(source.get());
    source->AddData("z");
    source.reset();
    EXPECT_EQ((Texts{"x", "y", ""}), Columns(copy, 3));
    EXPECT_EQ((Texts{"x", "y", ""}), Columns(fromPointer, 3));
    EXPECT_EQ(9, copy.GetDataID());
    EXPECT_EQ("nine", fromPointer.GetDataText());
}

TEST(CSysDataInfoRightCodeTest, CopyAndMoveTakeAllIdsAndLeaveTheSource) {
    CSysDataInfoRightCode source(1, 2, 3);
    source.SetFieldValue("Name", "right");
    CSysDataInfoRightCode copy(source);
    CSysDataInfoRightCode moved(std::move(source));
    for (CSysDataInfoRightCode* row : {&source, &copy, &moved}) {
        EXPECT_EQ(1, row->GetKindID());
        EXPECT_EQ(2, row->GetRightID());
        EXPECT_EQ(3, row->GetTreeID());
        EXPECT_EQ("right", row->GetFieldValue("Name"));
    }
    EXPECT_STREQ("CSysDataInfoRightCode", copy.GetClassNameA());
}
