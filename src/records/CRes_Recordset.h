// The base of the row library's resource record sets. Its virtual operations give the
// answers of a record set that supports nothing (-1, false, empty, or no action); derived
// record sets override the ones they support. One object is used by one thread at a time.
#pragma once

#include "gridcore/CTableRow.h"
#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/FrameworkBases.h"
#include "platform/GUID.h"

// The row library's interface to a table definition; only passed through here.
class CTableDefinedIF;

class XMK_EXPORT CRes_Recordset : public CRecordset {
  public:
    // Not in HCQ model.
    CRes_Recordset();
    ~CRes_Recordset() override;

    bool bHCQModel();
    // Switches the HCQ model on; there is no way back.
    void SetHCQModel();

    virtual unsigned char GetGrade();
    virtual long GetRightCode();
    virtual long CheckExit(long id, CTableRow* row);
    virtual long LoadWithTreeID(long treeID, long kindID, CString& condition, CObList& rows);
    virtual long LoadWithTreeCode(long treeID, char* treeCode, CObList& rows);
    virtual bool DoIeCmd(int command, int option);
    virtual bool SetFlowCode(long id, char* flowCode);
    virtual bool DoExpandCmd(int command, long id, CTableDefinedIF* definition);
    virtual bool PrintExpandCmd(int command, long id, CObList& rows);
    virtual bool ExportMDB(CTableRow* row);
    virtual CString GetSortString();
    // Both return `text` itself, untouched.
    virtual CString& GetCode(CString& text);
    virtual CString& GetTitle(CString& text);
    virtual void LoadCombo(long id, CString& text, CObList& rows);
    virtual void SetValue(CTableRow* row);
    // 0; the arguments are left untouched.
    virtual int GetTaskInfoInClient(_GUID& key, long& first, long& second);

  protected:
    bool m_bHCQModel;
};
