// Stands in for the framework's font object, held by dialogs; it selects no real font here.
#pragma once

#include "platform/CObject.h"
#include "platform/Export.h"

class XMK_EXPORT CFont : public CObject {
  public:
    CFont();
    ~CFont() override;
};
