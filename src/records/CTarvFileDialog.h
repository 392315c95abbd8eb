// The row library's file dialog for table files; its behaviour is the base dialog's.
// Nothing is shown on this platform.
#pragma once

#include "platform/CFileDialog.h"
#include "platform/Export.h"

class XMK_EXPORT CTarvFileDialog : public CFileDialog {
  public:
    CTarvFileDialog();
    ~CTarvFileDialog() override;
};
