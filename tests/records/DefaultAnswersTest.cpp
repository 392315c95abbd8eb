#include <gtest/gtest.h>

#include "records/CFtpTransmit.h"
#include "records/CRes_Dialog.h"
#include "records/CRes_Recordset.h"
#include "records/CTarvex_Obj.h"
#include "records/CtmpFile.h"
#include "support/CStringPrinter.h"

TEST(CRes_RecordsetTest, CodeAndTitleReturnTheVeryStringGiven) {
    CRes_Recordset records;
    CString text("code");
    EXPECT_EQ(&text, &records.GetCode(text));
    EXPECT_EQ(&text, &records.GetTitle(text));
    EXPECT_EQ("code", text);
}

TEST(CRes_RecordsetTest, UnsupportedOperationsAnswerMinusOneFalseOrNothing) {
    CRes_Recordset records;
    CObList rows;
    CString condition("c");
    char code[] = "01";
    EXPECT_EQ(0, records.GetGrade());
    EXPECT_EQ(-1, records.GetRightCode());
    EXPECT_EQ(-1, records.CheckExit(1, nullptr));
    EXPECT_EQ(-1, records.LoadWithTreeID(1, 2, condition, rows));
    EXPECT_EQ(-1, records.LoadWithTreeCode(1, code, rows));
    EXPECT_FALSE(records.DoIeCmd(1, 2));
    EXPECT_FALSE(records.SetFlowCode(1, code));
    EXPECT_FALSE(records.DoExpandCmd(1, 2, nullptr));
    EXPECT_FALSE(records.PrintExpandCmd(1, 2, rows));
    EXPECT_FALSE(records.ExportMDB(nullptr));
    EXPECT_EQ("", records.GetSortString());
    records.LoadCombo(1, condition, rows);
    EXPECT_TRUE(rows.IsEmpty());
    _GUID key{};
    long first = 5;
    long second = 6;
    EXPECT_EQ(0, records.GetTaskInfoInClient(key, first, second));
    EXPECT_EQ(5, first);
    EXPECT_EQ(6, second);
}

TEST(CRes_RecordsetTest, HCQModelOnlyTurnsOn) {
    CRes_Recordset records;
    EXPECT_FALSE(records.bHCQModel());
    records.SetHCQModel();
    records.SetHCQModel();
    EXPECT_TRUE(records.bHCQModel());
}

TEST(CRes_DialogTest, PlainDialogEditsNothing) {
    CRes_Dialog dialog(1, 2, 3);
    CObList rows;
    dialog.GetData(rows);
    EXPECT_TRUE(rows.IsEmpty());
    EXPECT_FALSE(dialog.bChecked());
    EXPECT_EQ(nullptr, dialog.CreateNodeByDlg());
    EXPECT_EQ(0, static_cast<int>(dialog.GetDlgType()));
    EXPECT_EQ(0, dialog.GetDDI());
    dialog.SetTreeRootID(30);
    EXPECT_EQ(30, dialog.GetTreeRootID());
    EXPECT_EQ(2, dialog.GetTreeID());
}

TEST(CTarvex_ObjTest, PlainRowAnswersAsALeaf) {
    CTarvex_Obj row;
    unsigned long color = 0x123;
    row.SetColor_no_recursion(color);
    EXPECT_EQ(0x123ul, color);
    EXPECT_TRUE(row.isLeaf());
    EXPECT_EQ(0.0, row.GetAreas());
    EXPECT_EQ(254, static_cast<int>(row.GetCateKind()));
    EXPECT_EQ(22, static_cast<int>(row.GetQDKind_()));
    EXPECT_FALSE(row.bOATaskUnit());
    EXPECT_FALSE(row.bRootNode());
    EXPECT_STREQ("", row.getCheckResult_cstr());
    EXPECT_EQ(0, row.getqdparamScopeID());
}

TEST(RowLibraryConstructorsTest, DefaultConstructorsPassANullArgument) {
    CFtpTransmit transmit;
    EXPECT_EQ(nullptr, transmit.GetOwner());
    CtmpFile file;
    EXPECT_EQ("", file.GetFileName());
}
