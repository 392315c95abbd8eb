// Stands in for the row library's JSON serialisation interface, the second base of every
// table row. This library serialises no row through it, so it carries no operation of its own.
#pragma once

#include "platform/Export.h"

class XMK_EXPORT CSerializeJsonBase {
  public:
    CSerializeJsonBase();
    CSerializeJsonBase(const CSerializeJsonBase& other);
    CSerializeJsonBase& operator=(const CSerializeJsonBase& other);
    virtual ~CSerializeJsonBase();
};
