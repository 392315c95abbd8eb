// A table row that remembers whether it is selected. A value; one object is used by one
// thread at a time.
#pragma once

#include "gridcore/CTableRow.h"
#include "platform/Export.h"

class XMK_EXPORT CTableRow_forSelected : public CTableRow {
  public:
    CTableRow_forSelected();
    CTableRow_forSelected(const CTableRow_forSelected& other);
    ~CTableRow_forSelected() override;

  protected:
    unsigned char m_bSelected;
};
