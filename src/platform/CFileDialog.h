// Stands in for the framework's file open/save dialog: a plain object here, since nothing is
// shown.
#pragma once

#include "platform/CDialog.h"
#include "platform/Export.h"

class XMK_EXPORT CFileDialog : public CDialog {
  public:
    CFileDialog();
    ~CFileDialog() override;
};
