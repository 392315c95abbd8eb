#include "records/CRes_Dialog.h"

CRes_Dialog::CRes_Dialog() : CRes_Dialog(0, 0, 0) {}

CRes_Dialog::CRes_Dialog(long classID, long treeID, long treeRootID)
    : m_lClassID(classID), m_lTreeID(treeID), m_lTreeRootID(treeRootID), m_DlgModel(0), m_lDDI(0) {}

CRes_Dialog::~CRes_Dialog() = default;

long CRes_Dialog::GetClassID() { return m_lClassID; }

long CRes_Dialog::GetTreeID() { return m_lTreeID; }

long CRes_Dialog::GetTreeRootID() { return m_lTreeRootID; }

void CRes_Dialog::SetTreeRootID(long treeRootID) { m_lTreeRootID = treeRootID; }

unsigned char CRes_Dialog::GetDlgModel() { return m_DlgModel; }

void CRes_Dialog::SetDlgModel(unsigned char model) { m_DlgModel = model; }

long CRes_Dialog::GetDDI() { return m_lDDI; }

bool CRes_Dialog::bChecked() { return false; }

void CRes_Dialog::GetData(CObList& /*rows*/) {}

void CRes_Dialog::SetData(CObList& /*rows*/) {}

void CRes_Dialog::GetData(long /*id*/, char* /*code*/, CObList& /*rows*/) {}

void CRes_Dialog::SetData(long& /*id*/, char** /*code*/, CObList& /*rows*/) {}

void CRes_Dialog::SetDlgFocus() {}

CTableRow* CRes_Dialog::CreateNodeByDlg() { return nullptr; }

Res_DlgType CRes_Dialog::GetDlgType() { return Res_DlgType_Normal; }
