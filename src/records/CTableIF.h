// The interface through which a table view reaches the rows of an application's table.
// Applications derive from it and define both operations. It holds no data, so copying
// copies nothing. The destructor is protected and not virtual: an implementation is never
// deleted through a pointer to this interface.
#pragma once

#include "platform/Export.h"

class CTableRow;

class XMK_EXPORT CTableIF {
  public:
    CTableIF();
    CTableIF(const CTableIF& other);
    CTableIF(CTableIF&& other);
    CTableIF& operator=(const CTableIF& other);
    CTableIF& operator=(CTableIF&& other);

    // The number of rows of the table.
    virtual long GetRowCount() = 0;
    // The row at `index` (owned by the table), or null when there is none.
    virtual CTableRow* GetRowAt(long index) = 0;

  protected:
    ~CTableIF();
};
