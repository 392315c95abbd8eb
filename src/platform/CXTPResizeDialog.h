// Stands in for the vendor UI library's resizable dialog: a plain dialog object here.
#pragma once

#include "platform/CDialog.h"
#include "platform/Export.h"

class XMK_EXPORT CXTPResizeDialog : public CDialog {
  public:
    CXTPResizeDialog();
    ~CXTPResizeDialog() override;
};
