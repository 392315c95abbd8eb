// The row library's FTP transfer window, which reports progress to its owner window.
// Nothing is shown on this platform. One object is used by one thread at a time.
#pragma once

#include "platform/CWnd.h"
#include "platform/Export.h"

class XMK_EXPORT CFtpTransmit {
  public:
    // The same as CFtpTransmit(nullptr): a transfer window without owner.
    CFtpTransmit();
    // `owner` (not owned; may be null) receives the progress reports.
    explicit CFtpTransmit(CWnd* owner);

    CWnd* GetOwner() const { return m_pOwner; }

  private:
    CWnd* m_pOwner;
};
