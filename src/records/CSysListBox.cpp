#include "records/CSysListBox.h"

CSysListBox::CSysListBox(double rowHeight) : m_xsHight(rowHeight), m_lMenuID(0), m_nLeftSep(0) {}

CSysListBox::~CSysListBox() = default;

void CSysListBox::SetLeftSep(int separation) { m_nLeftSep = separation; }

void CSysListBox::SetMenuID(long menuID) { m_lMenuID = menuID; }

double CSysListBox::Get_xsHight() { return m_xsHight; }

CSysCheckListBox::CSysCheckListBox(double rowHeight) : m_xsHight(rowHeight), m_lMenuID(0) {}

CSysCheckListBox::~CSysCheckListBox() = default;

void CSysCheckListBox::SetMenuID(long menuID) { m_lMenuID = menuID; }

double CSysCheckListBox::Get_xsHight() { return m_xsHight; }
