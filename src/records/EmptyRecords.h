// Row-library classes whose contents belong to the row library: this library carries only their
// construction and destruction. Nothing is shown on this platform. One object is used by one
// thread at a time.
#pragma once

#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/FrameworkBases.h"

// A dialog that hosts a message control.
class XMK_EXPORT CDlg_MsgOcx : public CDialog {
  public:
    CDlg_MsgOcx();
    ~CDlg_MsgOcx() override;
};

// The row library's file dialog for table files; its behaviour is the base dialog's.
class XMK_EXPORT CTarvFileDialog : public CFileDialog {
  public:
    CTarvFileDialog();
    ~CTarvFileDialog() override;
};

// A report-control cell that shows a value of a table row.
class XMK_EXPORT CXTPReportRecordItemTableRow : public CXTPReportRecordItem {
  public:
    CXTPReportRecordItemTableRow();
    ~CXTPReportRecordItemTableRow() override;
};

// An array of object pointers that the row library sorts by column. Like its base, it does
// not own the objects.
class XMK_EXPORT CSortableObArray : public CObArray {
  public:
    CSortableObArray();
    ~CSortableObArray() override;
};

// The row library's FTP transfer window, which reports progress to its owner window.
class XMK_EXPORT CFtpTransmit {
  public:
    // The same as CFtpTransmit(nullptr): a transfer window without owner.
    CFtpTransmit();
    // `owner` (not owned; may be null) receives the progress reports.
    explicit CFtpTransmit(CWnd* owner);

    CWnd* GetOwner() const { return m_pOwner; }

  private:
    CWnd* m_pOwner;
};

// The row library's temporary file, known by its name.
class XMK_EXPORT CtmpFile {
  public:
    // The same as CtmpFile(nullptr): no name yet.
    CtmpFile();
    // Keeps a copy of `fileName`; null gives the empty name.
    explicit CtmpFile(char* fileName);

    const CString& GetFileName() const { return m_strFileName; }

  private:
    CString m_strFileName;
};
