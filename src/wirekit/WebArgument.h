// Arguments of a remote call. A call holds them through shared pointers, in argument order.
#pragma once

#include "platform/CString.h"
#include "platform/Export.h"

// One named argument of a remote call; the value travels as text.
class XMK_EXPORT WebArgument {
  public:
    WebArgument(const CString& name, const CString& value) : name_(name), value_(value) {}
    virtual ~WebArgument();

    const CString& GetName() const { return name_; }
    const CString& GetValue() const { return value_; }

  private:
    CString name_;
    CString value_;
};

// A string argument: the value is sent as it stands (the transport escapes it).
class XMK_EXPORT WebArgumentString : public WebArgument {
  public:
    WebArgumentString(const CString& name, const CString& value) : WebArgument(name, value) {}
    ~WebArgumentString() override;
};
