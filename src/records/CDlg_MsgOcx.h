// A dialog that hosts a message control; its contents belong to the row library.
// Nothing is shown on this platform.
#pragma once

#include "platform/CDialog.h"
#include "platform/Export.h"

class XMK_EXPORT CDlg_MsgOcx : public CDialog {
  public:
    CDlg_MsgOcx();
    ~CDlg_MsgOcx() override;
};
