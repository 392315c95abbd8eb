#include "platform/MessageBox.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace {

int DefaultPresenter(const CString& text, UINT /*type*/) {
    std::fprintf(stderr, "%s\n", text.GetString());
    return IDOK;
}

std::mutex& PresenterMutex() {
    static std::mutex mutex;
    return mutex;
}

MessageBoxPresenter& Presenter() {
    static MessageBoxPresenter presenter;
    return presenter;
}

}  // namespace

MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter) {
    std::lock_guard<std::mutex> lock(PresenterMutex());
    return std::exchange(Presenter(), std::move(presenter));
}

int AfxMessageBox(const CString& text, UINT type, UINT /*helpId*/) {
    MessageBoxPresenter presenter;
    {
        // The presenter may be modal and slow: call a copy outside the lock.
        std::lock_guard<std::mutex> lock(PresenterMutex());
        presenter = Presenter();
    }
    if (!presenter) return DefaultPresenter(text, type);
    return presenter(text, type);
}
