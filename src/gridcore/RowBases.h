// Stand-ins for the row library's two bases of every table row: the common base object and the
// JSON serialisation interface. This library serialises no row through them, so they add
// nothing but a place in the row class hierarchy; copies copy nothing.
#pragma once

#include "platform/Export.h"
#include "platform/FrameworkBases.h"

class XMK_EXPORT CCoBaseObj : public CObject {
  public:
    CCoBaseObj();
    CCoBaseObj(const CCoBaseObj& other);
    CCoBaseObj& operator=(const CCoBaseObj& other);
    ~CCoBaseObj() override;
};

class XMK_EXPORT CSerializeJsonBase {
  public:
    CSerializeJsonBase();
    CSerializeJsonBase(const CSerializeJsonBase& other);
    CSerializeJsonBase& operator=(const CSerializeJsonBase& other);
    virtual ~CSerializeJsonBase();
};
