// An array of object pointers that the row library sorts by column. Like its base, it does
// not own the objects.
#pragma once

#include "platform/CObArray.h"
#include "platform/Export.h"

class XMK_EXPORT CSortableObArray : public CObArray {
  public:
    CSortableObArray();
    ~CSortableObArray() override;
};
