// basefun: the row factory of an object-list query. CXML_FormatItemManager asks it for one
// row per record of the reply and fills the row's fields through SetFieldValue; applications
// derive from it to get rows of their own classes.
#pragma once

#include "platform/Export.h"

class CTableRow;

class XMK_EXPORT basefun {
  public:
    basefun();
    virtual ~basefun();

    // A new row for one record, or null to skip that record. The query hands the row to its
    // caller, who then owns it. The default makes a plain CTableRow, which keeps every field
    // by name.
    virtual CTableRow* CreateRow() const;
};
