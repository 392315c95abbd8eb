#include "support/RecordingPresenter.h"

RecordingPresenter::RecordingPresenter() {
    previous_ = SetMessageBoxPresenter([this](const CString& text, UINT) {
        std::lock_guard<std::mutex> lock(mutex_);
        texts_.push_back(text);
        return IDOK;
    });
}

RecordingPresenter::~RecordingPresenter() { SetMessageBoxPresenter(previous_); }

std::vector<CString> RecordingPresenter::Texts() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
}

void RecordingPresenter::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    texts_.clear();
}
