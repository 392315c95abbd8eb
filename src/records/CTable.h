// The row library's table view: the rows of a table (a list it does not own), the rows it
// shows, and the state of sorting, check boxes and selection. Nothing is drawn on this
// platform. One object is used by one thread at a time.
#pragma once

#include "platform/Export.h"
#include "platform/FrameworkBases.h"

class XMK_EXPORT CTable : public CWnd {
  public:
    // A view of `data` (not owned; may be null), sorted by no column, ascending, without
    // check boxes, showing all rows.
    explicit CTable(CObList* data = nullptr);
    ~CTable() override;

    // Records the sort column (negative for none) and direction; the row library's sort
    // reorders the visible rows by them.
    void SetCurColumnSort(int column, bool desOrAsc);

    virtual int GetCurColumnSort();
    // True when some column is sorted.
    virtual bool bCanSortByCloumnClick();
    bool DesOrAsc() const;
    void SetCheckBoxStatus(bool status);
    void SetShowSelected(bool show);
    // The view's own array of visible rows (owned by the view; the rows are not).
    virtual CObArray* GetVisibleArray();
    virtual CObList* GetListData();
    virtual bool bReadOnly();
    virtual unsigned char GetGrade();

  protected:
    CObList* m_pListData;
    CObArray m_arrVisible;
    int m_nCurColumnSort;
    bool m_bDesOrAsc;
    bool m_bCheckBox;
    bool m_bShowSelected;
};
