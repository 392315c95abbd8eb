// The row library's temporary file, known by its name. One object is used by one thread at a
// time.
#pragma once

#include "platform/CString.h"
#include "platform/Export.h"

class XMK_EXPORT CtmpFile {
  public:
    // The same as CtmpFile(nullptr): no name yet.
    CtmpFile();
    // Keeps a copy of `fileName`; null gives the empty name.
    explicit CtmpFile(char* fileName);

    const CString& GetFileName() const { return m_strFileName; }

  private:
    CString m_strFileName;
};
