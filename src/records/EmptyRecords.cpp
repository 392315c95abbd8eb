#include "records/EmptyRecords.h"

// The destructors are out of line so that each class's virtual table and type information
// live in this library.

CDlg_MsgOcx::CDlg_MsgOcx() = default;

CDlg_MsgOcx::~CDlg_MsgOcx() = default;

CTarvFileDialog::CTarvFileDialog() = default;

CTarvFileDialog::~CTarvFileDialog() = default;

CXTPReportRecordItemTableRow::CXTPReportRecordItemTableRow() = default;

CXTPReportRecordItemTableRow::~CXTPReportRecordItemTableRow() = default;

CSortableObArray::CSortableObArray() = default;

CSortableObArray::~CSortableObArray() = default;

CFtpTransmit::CFtpTransmit() : CFtpTransmit(nullptr) {}

CFtpTransmit::CFtpTransmit(CWnd* owner) : m_pOwner(owner) {}

CtmpFile::CtmpFile() : CtmpFile(nullptr) {}

CtmpFile::CtmpFile(char* fileName) : m_strFileName(fileName) {}
