// Stands in for the framework's array of object pointers. The array does not own the
// objects: removing them or destroying the array leaves them alive.
#pragma once

#include <vector>

#include "platform/CObject.h"
#include "platform/Export.h"

class XMK_EXPORT CObArray : public CObject {
  public:
    CObArray();
    ~CObArray() override;

    int GetSize() const { return static_cast<int>(items_.size()); }
    // REQUIRES: 0 <= index < GetSize().
    CObject* GetAt(int index) const { return items_[index]; }
    // Returns the index of the new element.
    int Add(CObject* item);
    void RemoveAll() { items_.clear(); }

  private:
    std::vector<CObject*> items_;
};
