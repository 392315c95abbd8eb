#include "platform/CWnd.h"

CWnd::CWnd() = default;

CWnd::~CWnd() = default;
