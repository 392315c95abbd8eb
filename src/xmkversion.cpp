#include "xmkversion.h"

const char* XmkClientVersion() { return XMK_VERSION_STRING; }
