// The one way the layers above wirekit make a remote call: string arguments, in order, sent
// through a TWebService of the given namespace and interface. Numbers travel as decimal text.
// Thread-safe as the installed transport is; nothing outlives the call.
#pragma once

#include <utility>
#include <vector>

#include "platform/CString.h"

using RemoteArguments = std::vector<std::pair<CString, CString>>;  // name, value

// The text a number argument travels as ("%ld").
CString DecimalText(long value);

// Calls `method` at `url` with `arguments`; returns what TWebService::ExcuteOnServer returns:
// (true, reply text), or (false, a text fit to show the user).
std::pair<bool, CString> RemoteCall(const CString& nameSpace, const CString& service,
                                    const CString& url, const CString& method,
                                    const RemoteArguments& arguments);
