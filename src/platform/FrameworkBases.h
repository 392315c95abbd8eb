// Stand-ins for the framework's and the vendor UI library's base classes that the shared
// records derive from or hold. There is no display and no database on this platform: windows,
// dialogs, fonts and record sets are plain objects, and the containers hold object pointers
// without owning them (removing them or destroying the container leaves them alive).
// One object is used by one thread at a time.
#pragma once

#include <vector>

#include "platform/Export.h"

// The framework's root class: a polymorphic base whose objects the containers hold by pointer.
class XMK_EXPORT CObject {
  public:
    virtual ~CObject();

  protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

// The framework's array of object pointers.
class XMK_EXPORT CObArray : public CObject {
  public:
    CObArray();
    ~CObArray() override;

    int GetSize() const { return static_cast<int>(items_.size()); }
    // REQUIRES: 0 <= index < GetSize().
    CObject* GetAt(int index) const { return items_[index]; }
    // Returns the index of the new element.
    int Add(CObject* item);
    void RemoveAll() { items_.clear(); }

  private:
    std::vector<CObject*> items_;
};

// The framework's list of object pointers, the list that record loaders fill.
class XMK_EXPORT CObList : public CObject {
  public:
    CObList();
    ~CObList() override;

    int GetCount() const { return static_cast<int>(items_.size()); }
    bool IsEmpty() const { return items_.empty(); }
    void AddTail(CObject* item) { items_.push_back(item); }
    void RemoveAll() { items_.clear(); }

  private:
    std::vector<CObject*> items_;
};

// The framework's window, which dialogs, list boxes and table views derive from.
class XMK_EXPORT CWnd : public CObject {
  public:
    CWnd();
    ~CWnd() override;
};

class XMK_EXPORT CDialog : public CWnd {
  public:
    CDialog();
    ~CDialog() override;
};

// The framework's file open/save dialog.
class XMK_EXPORT CFileDialog : public CDialog {
  public:
    CFileDialog();
    ~CFileDialog() override;
};

// The framework's font object, held by dialogs.
class XMK_EXPORT CFont : public CObject {
  public:
    CFont();
    ~CFont() override;
};

// The framework's database record set, the base of the row library's record sets.
class XMK_EXPORT CRecordset : public CObject {
  public:
    CRecordset();
    ~CRecordset() override;
};

// The vendor UI library's report-control cell (one item of a report record).
class XMK_EXPORT CXTPReportRecordItem : public CObject {
  public:
    CXTPReportRecordItem();
    ~CXTPReportRecordItem() override;
};

// The vendor UI library's resizable dialog.
class XMK_EXPORT CXTPResizeDialog : public CDialog {
  public:
    CXTPResizeDialog();
    ~CXTPResizeDialog() override;
};
