#include "records/CTable.h"

CTable::CTable(CObList* data)
    : m_pListData(data),
      m_nCurColumnSort(-1),
      m_bDesOrAsc(false),
      m_bCheckBox(false),
      m_bShowSelected(false) {}

CTable::~CTable() = default;

void CTable::SetCurColumnSort(int column, bool desOrAsc) {
    m_nCurColumnSort = column;
    m_bDesOrAsc = desOrAsc;
}

int CTable::GetCurColumnSort() { return m_nCurColumnSort; }

bool CTable::bCanSortByCloumnClick() { return m_nCurColumnSort >= 0; }

bool CTable::DesOrAsc() const { return m_bDesOrAsc; }

void CTable::SetCheckBoxStatus(bool status) { m_bCheckBox = status; }

void CTable::SetShowSelected(bool show) { m_bShowSelected = show; }

CObArray* CTable::GetVisibleArray() { return &m_arrVisible; }

CObList* CTable::GetListData() { return m_pListData; }

bool CTable::bReadOnly() { return false; }

unsigned char CTable::GetGrade() { return 0; }
