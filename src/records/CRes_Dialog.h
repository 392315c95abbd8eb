// The base of the row library's resource dialogs: which class and tree the dialog edits, its
// model and DDI value. Its virtual operations give the answers of a dialog that edits nothing;
// derived dialogs override them. Nothing is shown on this platform. One object is used by one
// thread at a time.
#pragma once

#include <vector>

#include "gridcore/CTableRow.h"
#include "gridcore/RowTypes.h"
#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/FrameworkBases.h"

class XMK_EXPORT CRes_Dialog : public CXTPResizeDialog {
  public:
    // All ids, the model and the DDI value 0.
    CRes_Dialog();
    CRes_Dialog(long classID, long treeID, long treeRootID);
    ~CRes_Dialog() override;

    long GetClassID();
    long GetTreeID();
    long GetTreeRootID();
    void SetTreeRootID(long treeRootID);
    unsigned char GetDlgModel();
    void SetDlgModel(unsigned char model);
    virtual long GetDDI();

    virtual bool bChecked();
    virtual void GetData(CObList& rows);
    virtual void SetData(CObList& rows);
    virtual void GetData(long id, char* code, CObList& rows);
    virtual void SetData(long& id, char** code, CObList& rows);
    virtual void SetDlgFocus();
    // The row the dialog builds from its controls; null here. Derived dialogs pass
    // ownership of the row to the caller.
    virtual CTableRow* CreateNodeByDlg();
    virtual Res_DlgType GetDlgType();

  protected:
    long m_lClassID;
    long m_lTreeID;
    long m_lTreeRootID;
    unsigned char m_DlgModel;
    std::vector<int> m_vecItems;
    long m_lDDI;
    CString m_strText;
    CFont m_Font;
};
