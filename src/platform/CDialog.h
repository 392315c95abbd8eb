// Stands in for the framework's dialog class: a plain object here, since nothing is shown.
#pragma once

#include "platform/CWnd.h"
#include "platform/Export.h"

class XMK_EXPORT CDialog : public CWnd {
  public:
    CDialog();
    ~CDialog() override;
};
