// Stands in for the row library's common base object, the first base of every table row.
// It adds nothing to the framework's CObject but a place in the row class hierarchy.
#pragma once

#include "platform/CObject.h"
#include "platform/Export.h"

class XMK_EXPORT CCoBaseObj : public CObject {
  public:
    CCoBaseObj();
    CCoBaseObj(const CCoBaseObj& other);
    CCoBaseObj& operator=(const CCoBaseObj& other);
    ~CCoBaseObj() override;
};
