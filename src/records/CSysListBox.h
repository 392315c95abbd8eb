// The row library's list boxes: a plain one with a left separation, and one with check boxes.
// Each keeps a row height and the id of its context menu. Nothing is drawn on this platform.
// One object is used by one thread at a time.
#pragma once

#include "platform/Export.h"
#include "platform/FrameworkBases.h"

class XMK_EXPORT CSysListBox : public CWnd {
  public:
    // Rows of height `rowHeight`, no menu (id 0), no left separation.
    explicit CSysListBox(double rowHeight = 0.0);
    ~CSysListBox() override;

    void SetLeftSep(int separation);
    void SetMenuID(long menuID);
    // The row height.
    double Get_xsHight();

  protected:
    double m_xsHight;
    long m_lMenuID;
    int m_nLeftSep;
};

class XMK_EXPORT CSysCheckListBox : public CWnd {
  public:
    // Rows of height `rowHeight`, no menu (id 0).
    explicit CSysCheckListBox(double rowHeight = 0.0);
    ~CSysCheckListBox() override;

    void SetMenuID(long menuID);
    // The row height.
    double Get_xsHight();

  protected:
    double m_xsHight;
    long m_lMenuID;
};
