// A program outside the project, built against an installed xmkclient.
#include <cstdio>
#include <cstring>

#include "xmkclient.h"

int main() {
    CString text("installed");
    text += " ok";
    std::printf("%s, version %s\n", text.GetString(), XmkClientVersion());
    // The header it was built with and the library it runs with are one release.
    const bool oneRelease = std::strcmp(XmkClientVersion(), XMK_VERSION_STRING) == 0;
    return text == "installed ok" && oneRelease ? 0 : 1;
}
