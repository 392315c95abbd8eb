#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "records/CRes_DataBase.h"
#include "records/CRes_Dialog.h"
#include "records/CSysDataInfo_ShowCol.h"
#include "records/CSysListBox.h"
#include "records/CTableRow_forSelected.h"
#include "records/CTarvex_Obj.h"
#include "records/CharSocket.h"
#include "support/CStringPrinter.h"

namespace {

// The derived classes reach the added fields that only the row library's members set.
struct ShowCol : CSysDataInfo_ShowCol {
    ShowCol(int column, const CString& name) {
        m_nShowCol = column;
        SetFieldValue("Name", name);
    }
    ShowCol(const ShowCol& other) = default;
    int Column() const { return m_nShowCol; }
};

struct Selected : CTableRow_forSelected {
    explicit Selected(unsigned char selected) { m_bSelected = selected; }
    Selected(const Selected& other) = default;
    unsigned char Flag() const { return m_bSelected; }
};

struct Socket : CharSocket {
    void Receive(const char* text) {
        std::strcpy(m_Buffer, text);
        m_bHasData = 1;
    }
    const char* Buffer() const { return m_Buffer; }
};

}  // namespace

TEST(RowCopiesTest, CopiesTakeTheBaseRowAndTheAddedField) {
    const ShowCol column(4, "shown");
    ShowCol columnCopy(column);
    EXPECT_EQ(std::make_pair(4, CString("shown")),
              std::make_pair(columnCopy.Column(), columnCopy.GetFieldValue("Name")));

    Selected selected(1);
    selected.SetFieldValue("ID", "7");
    Selected selectedCopy(selected);
    EXPECT_EQ(std::make_pair(1, CString("7")),
              std::make_pair(int{selectedCopy.Flag()}, selectedCopy.GetFieldValue("ID")));

    CTarvex_Obj tree;
    tree.SetFieldValue("Code", "01");
    CTarvex_Obj treeCopy(tree);
    EXPECT_EQ("01", treeCopy.GetFieldValue("Code"));
}

TEST(RowCopiesTest, SocketAssignmentsCopyTheBufferAndBothFlags) {
    Socket source;
    source.Receive("line");
    source.SetLastRN(false);
    Socket copied;
    copied = source;
    Socket moved;
    moved = std::move(source);
    for (Socket* socket : {&copied, &moved}) {
        EXPECT_STREQ("line", socket->Buffer());
        EXPECT_FALSE(socket->IsEmpty());
        EXPECT_FALSE(socket->bLastRN());
    }
    EXPECT_STREQ("line", source.Buffer());
}

TEST(AccessorsTest, ReadAndWriteTheirFields) {
    CRes_DataBase database(true, false, 7);
    EXPECT_TRUE(database.bSQLServer());
    EXPECT_FALSE(database.GetDBModel());
    EXPECT_EQ(7, database.bStatus());

    CRes_Dialog dialog(11, 12, 13);
    dialog.SetDlgModel(5);
    EXPECT_EQ(11, dialog.GetClassID());
    EXPECT_EQ(12, dialog.GetTreeID());
    EXPECT_EQ(13, dialog.GetTreeRootID());
    EXPECT_EQ(5, dialog.GetDlgModel());

    CSysListBox list(1.5);
    list.SetLeftSep(3);
    list.SetMenuID(40);
    EXPECT_EQ(1.5, list.Get_xsHight());
    CSysCheckListBox checkList(2.5);
    checkList.SetMenuID(41);
    EXPECT_EQ(2.5, checkList.Get_xsHight());
}
