#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "gridcore/CTableRow.h"
#include "records/CSysDataInfoRightCode.h"
#include "records/CSysDataInfo_ShowCol.h"
#include "records/CSysDataInfo_VecStr.h"
#include "records/CTable.h"
#include "records/CTableDefNode.h"
#include "records/CTableRow_forSelected.h"
#include "records/CTarvex_Obj.h"
#include "records/DbTableRowFunctor.h"
#include "support/CStringPrinter.h"

namespace {

using Texts = std::vector<CString>;

Texts Columns(CTableRow& row, int count) {
    Texts texts;
    for (int i = -1; i < count; ++i) texts.push_back(row.GetCStringColoumByTable(i, 0));
    return texts;
}

// Fills every field the accessors read, as the row library's definition readers do.
class FilledDefNode : public CTableDefNode {
  public:
    FilledDefNode() {
        m_vecRightCode = {11};
        m_nWidth = 120;
        m_bVisible = 1;
        m_bAlign = 2;
        m_DataType = DT_Double;
        m_BackColor = 0xFFEEDDul;
        m_nPrintWidth = 30;
        m_nIndex = 4;
        m_PrintFormat = 3;
        m_expression = "a+b";
        m_bSum = 1;
        m_bShowQZ = 1;
        m_Bits = 0x81;
        SetColumnName("Amount");
        SetFunctionName("SUM");
    }
};

std::vector<long> Numbers(CTableDefNode& n) {
    return {n.isRightDefined(), n.GetWidth(),  n.bVisible(),
            n.bAlign(),         n.bDataType(), static_cast<long>(n.GetBackColor()),
            n.GetPrintWidth(),  n.GetIndex(),  n.GetPrintFormat(),
            n.bSum(),           n.bShowQZ(),   n.getBits()};
}

// The derived classes reach the added fields that only the row library's members set.
struct ShowCol : CSysDataInfo_ShowCol {
    explicit ShowCol(int column) { m_nShowCol = column; }
    ShowCol(const ShowCol& other) = default;
    int Column() const { return m_nShowCol; }
};

struct Selected : CTableRow_forSelected {
    explicit Selected(unsigned char selected) { m_bSelected = selected; }
    Selected(const Selected& other) = default;
    int Flag() const { return m_bSelected; }
};

class RecordingFunctor : public DbTableRowFunctor {
  public:
    void StepIn() override { calls += "in;"; }
    void StepOut() override { calls += "out;"; }
    std::string calls;
};

}  // namespace

TEST(CSysDataInfo_VecStrTest, ColumnsInTheOrderAddedAndEmptyOutsideThem) {
    CString name("name");
    CSysDataInfo_VecStr row(5, name);
    EXPECT_EQ((Texts{"", ""}), Columns(row, 1));
    row.AddData("a");
    row.AddData("b");
    row.AddData("c");
    // Read through the base row: the override answers, whatever the second argument.
    CTableRow& base = row;
    EXPECT_EQ((Texts{"", "a", "b", "c", ""}), Columns(base, 4));
    EXPECT_EQ("a", base.GetCStringColoumByTable(0, 99));
    EXPECT_EQ(std::make_pair(5L, CString("name")),
              std::make_pair(row.GetDataID(), row.GetDataText()));
}

TEST(CSysDataInfo_VecStrTest, CopiesKeepTheirTextsWhenTheSourceGoes) {
    auto source = std::make_unique<CSysDataInfo_VecStr>(9, const_cast<char*>("nine"));
    source->AddData("x");
    source->AddData("y");
    CSysDataInfo_VecStr copy(*source);
    CSysDataInfo_VecStr fromPointer(source.get());
    source->AddData("z");
    source.reset();
    EXPECT_EQ((Texts{"", "x", "y", ""}), Columns(copy, 3));
    EXPECT_EQ((Texts{"", "x", "y", ""}), Columns(fromPointer, 3));
    EXPECT_EQ(std::make_pair(9L, CString("nine")),
              std::make_pair(fromPointer.GetDataID(), copy.GetDataText()));
}

TEST(RowCopiesTest, CopiesTakeTheBaseRowAndEveryAddedField) {
    CSysDataInfoRightCode right(1, 2, 3);
    right.SetFieldValue("Name", "right");
    CSysDataInfoRightCode copy(right);
    CSysDataInfoRightCode moved(std::move(right));
    for (CSysDataInfoRightCode* row : {&right, &copy, &moved}) {
        EXPECT_EQ((std::vector<long>{1, 2, 3}),
                  (std::vector<long>{row->GetKindID(), row->GetRightID(), row->GetTreeID()}));
        EXPECT_EQ("right", row->GetFieldValue("Name"));
    }
    EXPECT_STREQ("CSysDataInfoRightCode", copy.GetClassNameA());

    ShowCol column(4);
    column.SetFieldValue("Name", "shown");
    const ShowCol columnCopy(column);
    EXPECT_EQ(std::make_pair(4, CString("shown")),
              std::make_pair(columnCopy.Column(), columnCopy.GetFieldValue("Name")));
    Selected selected(1);
    selected.SetFieldValue("ID", "7");
    const Selected selectedCopy(selected);
    EXPECT_EQ(std::make_pair(1, CString("7")),
              std::make_pair(selectedCopy.Flag(), selectedCopy.GetFieldValue("ID")));
    CTarvex_Obj tree;
    tree.SetFieldValue("Code", "01");
    EXPECT_EQ("01", CTarvex_Obj(tree).GetFieldValue("Code"));
}

TEST(CTableDefNodeTest, RightsAreDefinedWhenTheListIsNotEmpty) {
    CTableDefNode plain;
    EXPECT_FALSE(plain.isRightDefined());
    FilledDefNode filled;
    EXPECT_TRUE(filled.isRightDefined());
    // The expression's characters, for a short and for a long text alike.
    EXPECT_STREQ("a+b", filled.getexoression_cstr());
    const std::string longText(1000, 'q');
    filled.getexpression() = longText;
    EXPECT_EQ(longText, filled.getexoression_cstr());
}

TEST(CTableDefNodeTest, CopySharesTheNamesAndOwnsEverythingElse) {
    auto source = std::make_unique<FilledDefNode>();
    CTableDefNode copy(*source);
    EXPECT_EQ(source->GetColumnName(), copy.GetColumnName());
    EXPECT_EQ(source->GetFunctionName(), copy.GetFunctionName());
    source->getexpression() = "changed";
    source->GetBackColor() = 1;
    source->SetPrintWidth(99);
    source->SetColumnName("Other");
    source.reset();
    FilledDefNode filled;
    EXPECT_EQ(Numbers(filled), Numbers(copy));
    EXPECT_EQ("a+b", copy.getexpression());
    EXPECT_STREQ("Amount", copy.GetColumnName());
    EXPECT_STREQ("SUM", copy.GetFunctionName());
}

TEST(DbTableRowFunctorTest, StepOutByObjRunsTheDerivedStepOut) {
    RecordingFunctor derived;
    DbTableRowFunctor& visitor = derived;
    CTableRow row;
    visitor.StepIn();
    visitor.StepOutByObj(&row);
    visitor.StepOutByObj(nullptr);
    EXPECT_EQ("in;out;out;", derived.calls);

    DbTableRowFunctor plain;
    plain(nullptr, row);
    plain.StepOutByObj(&row);
    EXPECT_EQ(std::make_pair(false, 0L), std::make_pair(plain.IsReturn(), plain.GetTableKind()));
    // Copies and assignments carry the return flag.
    visitor.SetReturn(true);
    DbTableRowFunctor copy(visitor);
    EXPECT_EQ(&plain, &(plain = visitor));
    EXPECT_TRUE(copy.IsReturn() && plain.IsReturn());
}

TEST(CTableTest, SortingByClickNeedsASortColumn) {
    CTable table;
    EXPECT_EQ(-1, table.GetCurColumnSort());
    EXPECT_FALSE(table.bCanSortByCloumnClick());
    table.SetCurColumnSort(0, true);
    EXPECT_TRUE(table.bCanSortByCloumnClick());
    EXPECT_TRUE(table.DesOrAsc());
}
