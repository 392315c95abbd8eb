// Stands in for the framework's root class: a polymorphic base whose objects the
// framework's containers (CObArray, CObList) hold by pointer.
#pragma once

#include "platform/Export.h"

class XMK_EXPORT CObject {
  public:
    virtual ~CObject();

  protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};
