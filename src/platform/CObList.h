// Stands in for the framework's list of object pointers, the list that record loaders fill.
// The list does not own the objects: removing them or destroying the list leaves them alive.
#pragma once

#include <vector>

#include "platform/CObject.h"
#include "platform/Export.h"

class XMK_EXPORT CObList : public CObject {
  public:
    CObList();
    ~CObList() override;

    int GetCount() const { return static_cast<int>(items_.size()); }
    bool IsEmpty() const { return items_.empty(); }
    void AddTail(CObject* item) { items_.push_back(item); }
    void RemoveAll() { items_.clear(); }

  private:
    std::vector<CObject*> items_;
};
