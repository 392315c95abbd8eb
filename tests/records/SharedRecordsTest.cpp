#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/CStringPrinter.h"
#include "xmkclient.h"

namespace {

struct ShowCol : CSysDataInfo_ShowCol {
    int& Column() { return m_nShowCol; }
};
// Every field of a column definition but the two shared names, in declaration order.
struct DefNode : CTableDefNode {
    auto Fields() {
        return std::tie(m_vecRightCode, m_vecRightExtra, m_nReserved3, m_nReserved4, m_nWidth,
                        m_bVisible, m_bAlign, m_nReserved8, m_DataType, m_nReserved10, m_BackColor,
                        m_nPrintWidth, m_nReserved13, m_nReserved14, m_nReserved15, m_nReserved16,
                        m_nIndex, m_PrintFormat, m_nReserved19, m_expression, m_bSum, m_bShowQZ,
                        m_Bits, m_nReserved26);
    }
};

}  // namespace

TEST(ValueRecordsTest, ExpressionCopiesShareTheTextsThatOutliveTheSourceButOwnTheirVectors) {
    char varName[] = "x";
    auto source = std::make_unique<CExpressionCall>("total", "a*b", 2);
    source->GetvecParaFlag().push_back(1);
    source->GetvecParaVarName().push_back(varName);
    auto fields = [](CExpressionCall& e) {
        return std::make_tuple(e.GetName(), e.GetExpression(), e.bExchangeType(),
                               e.GetvecParaFlag(), e.GetvecParaVarName(), e.bInited());
    };
    CExpressionCall copy(*source), assigned;
    EXPECT_EQ(&assigned, &(assigned = *source));
    const auto want = fields(*source);
    copy = static_cast<CExpressionCall&>(copy);
    source->GetvecParaFlag().push_back(0);
    source.reset();
    EXPECT_TRUE(want == fields(copy) && want == fields(assigned));
    EXPECT_EQ("total a*b", std::string(copy.GetName()) + " " + assigned.GetExpression());
}

TEST(ValueRecordsTest, QuotaCodesKeepAtMostTheirFirstNineBytes) {
    // "AB" then 3-byte characters: the 9th byte lies inside the third one.
    // clang-format off
    const struct { const char* text; CString code; } cases[] = {
        {"12345678", "12345678"}, {"123456789", "123456789"}, {"1234567890", "123456789"},
        {"", ""}, {"AB定额编码", CString("AB定额编码").Left(9)}};
    // clang-format on
    for (const auto& c : cases) {
        CString text(c.text);
        quotacode_ext_info q(text);
        EXPECT_EQ(
            std::make_tuple(-1L, -1, -1, -1, -1, 0, c.code),
            std::make_tuple(q.lID, q.nData1, q.nData2, q.nData3, q.nData4, q.nData5, q.strCode));
    }
}

TEST(ValueRecordsTest, SmallRecordsStartClearedCompareAtTheLastByteAndVisitorsDispatch) {
    FtpNotifyData notify;
    notify.key[3] = notify.extra[3] = 7;
    notify.Init();
    EXPECT_TRUE(notify.nEvent == 0 && notify.key[3] == 0 && notify.dPercent == 0 &&
                notify.extra[3] == 0 && CharSocket().bLastRN() && CharSocket().IsEmpty());
    notify.strMessage = "ok";
    FtpNotifyData moved(std::move(notify)), assigned;
    assigned = std::move(notify);
    EXPECT_EQ("ok ok ok", notify.strMessage + " " + moved.strMessage + " " + assigned.strMessage);
    _GUID id{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}}, lastDiffers = id, firstDiffers = id;
    CFileTransObj file(id, 100, 200);
    lastDiffers.Data4[7] ^= 1u;
    firstDiffers.Data1 ^= 1u;
    EXPECT_EQ(
        (std::vector<long>{1, 0, 0, 100, 200}),
        (std::vector<long>{file.bEqual(id), file.bEqual(lastDiffers), file.bEqual(firstDiffers),
                           file.GetFileSize(true), file.GetFileSize(false)}));
    CTable table;
    const bool sortableAtMinusOne = table.bCanSortByCloumnClick();
    table.SetCurColumnSort(0, true);
    EXPECT_TRUE(!sortableAtMinusOne && table.bCanSortByCloumnClick());
    struct Counting : DbTableRowFunctor {
        void StepOut() override { ++stepOuts; }
        int stepOuts = 0;
    } derived;
    static_cast<DbTableRowFunctor&>(derived).StepOutByObj(nullptr);
    derived.SetReturn(true);
    DbTableRowFunctor visitorCopy(derived), visitorAssigned;
    EXPECT_EQ(&visitorAssigned, &(visitorAssigned = derived));
    EXPECT_TRUE(derived.stepOuts == 1 && visitorCopy.IsReturn() && visitorAssigned.IsReturn());
}

TEST(RowRecordsTest, CopiesTakeTheBaseRowAndEveryFieldAndShareTheNames) {
    auto source = std::make_unique<DefNode>();
    source->Fields() =
        std::make_tuple(std::vector<int>{}, std::vector<int>{2}, 3, 4, 5, 6, 7, 8, DT_Bool, 10,
                        11ul, 12, 13, 14, 15, 16, 17, 18, 19, std::string("x+y"), 23, 24, 25, 26);
    const bool rightsWithoutCodes = source->isRightDefined();
    std::get<0>(source->Fields()) = {1};
    EXPECT_TRUE(!rightsWithoutCodes && source->isRightDefined());
    source->SetColumnName("Amount");
    source->SetFunctionName("SUM");
    EXPECT_STREQ("x+y", source->getexoression_cstr());
    DefNode copy(*source);
    EXPECT_EQ(source->Fields(), copy.Fields());
    EXPECT_TRUE(source->GetColumnName() == copy.GetColumnName() &&
                source->GetFunctionName() == copy.GetFunctionName());
    source.reset();
    EXPECT_EQ("Amount SUM", std::string(copy.GetColumnName()) + " " + copy.GetFunctionName());
    CSysDataInfoRightCode right(1, 2, 3);
    ShowCol column;
    CTarvex_Obj tree;
    column.Column() = 4;
    for (CTableRow* row : std::vector<CTableRow*>{&right, &column, &tree}) {
        row->SetFieldValue("ID", "7");
    }
    CSysDataInfoRightCode rightCopy(right), moved(std::move(right));
    for (CSysDataInfoRightCode* row : {&right, &rightCopy, &moved}) {
        EXPECT_EQ("1 2 3 7",
                  std::to_string(row->GetKindID()) + " " + std::to_string(row->GetRightID()) + " " +
                      std::to_string(row->GetTreeID()) + " " + row->GetFieldValue("ID").Str());
    }
    ShowCol columnCopy(column);
    EXPECT_EQ(4, columnCopy.Column());
    EXPECT_EQ("77", columnCopy.GetFieldValue("ID") + CTarvex_Obj(tree).GetFieldValue("ID"));
}

TEST(RowRecordsTest, TextRowsShowTheirTextsInTheOrderAddedAndCopiesOwnThem) {
    auto source = std::make_unique<CSysDataInfo_VecStr>(9, const_cast<char*>("nine"));
    auto columns = [](CTableRow& row) {
        std::vector<CString> texts{row.GetCStringColoumByTable(0, 99)};
        for (int i = -1; i <= 3; ++i) texts.push_back(row.GetCStringColoumByTable(i, 0));
        return texts;
    };
    for (const char* text : {"a", "b", "c"}) source->AddData(text);
    const std::vector<CString> shown{"a", "", "a", "b", "c", ""};
    EXPECT_EQ(shown, columns(*source));
    CSysDataInfo_VecStr copy(*source), fromPointer(source.get());
    source->AddData("z");
    source.reset();
    for (CSysDataInfo_VecStr* row : {&copy, &fromPointer}) {
        EXPECT_EQ(shown, columns(*row));
        EXPECT_EQ("9 nine", std::to_string(row->GetDataID()) + " " + row->GetDataText().Str());
    }
}
