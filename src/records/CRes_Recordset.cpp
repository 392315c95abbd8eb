#include "records/CRes_Recordset.h"

CRes_Recordset::CRes_Recordset() : m_bHCQModel(false) {}

CRes_Recordset::~CRes_Recordset() = default;

bool CRes_Recordset::bHCQModel() { return m_bHCQModel; }

void CRes_Recordset::SetHCQModel() { m_bHCQModel = true; }

unsigned char CRes_Recordset::GetGrade() { return 0; }

long CRes_Recordset::GetRightCode() { return -1; }

long CRes_Recordset::CheckExit(long /*id*/, CTableRow* /*row*/) { return -1; }

long CRes_Recordset::LoadWithTreeID(long /*treeID*/, long /*kindID*/, CString& /*condition*/,
                                    CObList& /*rows*/) {
    return -1;
}

long CRes_Recordset::LoadWithTreeCode(long /*treeID*/, char* /*treeCode*/, CObList& /*rows*/) {
    return -1;
}

bool CRes_Recordset::DoIeCmd(int /*command*/, int /*option*/) { return false; }

bool CRes_Recordset::SetFlowCode(long /*id*/, char* /*flowCode*/) { return false; }

bool CRes_Recordset::DoExpandCmd(int /*command*/, long /*id*/, CTableDefinedIF* /*definition*/) {
    return false;
}

bool CRes_Recordset::PrintExpandCmd(int /*command*/, long /*id*/, CObList& /*rows*/) {
    return false;
}

bool CRes_Recordset::ExportMDB(CTableRow* /*row*/) { return false; }

CString CRes_Recordset::GetSortString() { return CString(); }

CString& CRes_Recordset::GetCode(CString& text) { return text; }

CString& CRes_Recordset::GetTitle(CString& text) { return text; }

void CRes_Recordset::LoadCombo(long /*id*/, CString& /*text*/, CObList& /*rows*/) {}

void CRes_Recordset::SetValue(CTableRow* /*row*/) {}

int CRes_Recordset::GetTaskInfoInClient(_GUID& /*key*/, long& /*first*/, long& /*second*/) {
    return 0;
}
