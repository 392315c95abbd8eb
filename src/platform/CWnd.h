// Stands in for the framework's window class. There is no display on this platform: a window
// is a plain object that dialogs and table views derive from.
#pragma once

#include "platform/CObject.h"
#include "platform/Export.h"

class XMK_EXPORT CWnd : public CObject {
  public:
    CWnd();
    ~CWnd() override;
};
