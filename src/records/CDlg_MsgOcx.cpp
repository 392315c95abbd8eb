#include "records/CDlg_MsgOcx.h"

CDlg_MsgOcx::CDlg_MsgOcx() = default;

CDlg_MsgOcx::~CDlg_MsgOcx() = default;
