// A program outside the project, built against an installed xmkclient.
#include <cstdio>

#include "xmkclient.h"

int main() {
    CString text("installed");
    text += " ok";
    std::printf("%s\n", text.GetString());
    return text == "installed ok" ? 0 : 1;
}
