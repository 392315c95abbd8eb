// xmkclient: the client-side tool library of the project-management suite.
// Include this one header for the whole public interface.
#pragma once

#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/FrameworkException.h"
#include "platform/MessageBox.h"
#include "platform/WinTypes.h"
