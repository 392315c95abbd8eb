#include "platform/FrameworkBases.h"

// Every destructor is out of line so that each class's virtual table and type information
// have one home, in this library.

CObject::~CObject() = default;

CObArray::CObArray() = default;

CObArray::~CObArray() = default;

int CObArray::Add(CObject* item) {
    items_.push_back(item);
    return static_cast<int>(items_.size()) - 1;
}

CObList::CObList() = default;

CObList::~CObList() = default;

CWnd::CWnd() = default;

CWnd::~CWnd() = default;

CDialog::CDialog() = default;

CDialog::~CDialog() = default;

CFileDialog::CFileDialog() = default;

CFileDialog::~CFileDialog() = default;

CFont::CFont() = default;

CFont::~CFont() = default;

CRecordset::CRecordset() = default;

CRecordset::~CRecordset() = default;

CXTPReportRecordItem::CXTPReportRecordItem() = default;

CXTPReportRecordItem::~CXTPReportRecordItem() = default;

CXTPResizeDialog::CXTPResizeDialog() = default;

CXTPResizeDialog::~CXTPResizeDialog() = default;
