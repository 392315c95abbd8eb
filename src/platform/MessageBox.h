// Stands in for the framework's modal message box. The process-wide presenter decides how a
// box is shown; an application installs its toolkit's dialog, tests install a recording one.
// Thread-safe: a box may be shown from any thread; the presenter runs on the calling thread.
#pragma once

#include <functional>

#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/WinTypes.h"

using MessageBoxPresenter = std::function<int(const CString& text, UINT type)>;

// Installs the process-wide presenter and returns the previous one; an empty
// presenter restores the default, which writes one line to stderr and returns IDOK.
XMK_EXPORT MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter);

// Shows `text` through the installed presenter and returns its answer.
XMK_EXPORT int AfxMessageBox(const CString& text, UINT type = MB_OK, UINT helpId = 0);
