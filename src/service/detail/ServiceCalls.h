// Internal to the service layer and the data store: which URL a call goes to, and the calls
// of the project-library back-end's interface "UniteInterface".
#pragma once

#include <utility>

#include "platform/CString.h"
#include "service/CServiceSupport.h"
#include "wirekit/detail/RemoteCall.h"

// The configured URL of a service kind: "URL2" for the project library ("URL_DL" instead when
// `old` is set and "URL_DL" is configured), "URL1" for kind 1, empty for any other kind.
CString ConfiguredServiceUrl(CServiceSupport::ServiceKind kind, bool old);

// The URL of a project-library call: `url`, or the configured project-library URL when `url`
// is empty.
CString ProjectLibraryUrl(const CString& url);

// Calls `method` of "UniteInterface" at `url`, which is used as it stands.
std::pair<bool, CString> CallUniteInterface(const CString& url, const CString& method,
                                            const RemoteArguments& arguments);
