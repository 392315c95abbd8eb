// A message-box presenter that records every text shown. Installs itself on construction
// and restores the previous presenter on destruction. Thread-safe.
#pragma once

#include <mutex>
#include <vector>

#include "platform/MessageBox.h"

class RecordingPresenter {
  public:
    RecordingPresenter();
    ~RecordingPresenter();
    RecordingPresenter(const RecordingPresenter&) = delete;
    RecordingPresenter& operator=(const RecordingPresenter&) = delete;

    // Every text shown so far, in order.
    std::vector<CString> Texts() const;
    void Clear();

  private:
    mutable std::mutex mutex_;
    std::vector<CString> texts_;
    MessageBoxPresenter previous_;
};
