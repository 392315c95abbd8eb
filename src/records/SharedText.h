// A `char*` text held by a record so that copies of the record share it: copying a SharedText
// copies the pointer, never the characters, and the characters live until the last record
// holding them is destroyed. So a copy that outlives its source keeps a valid text, and
// Get() gives the same address in the source and all its copies. Copies may be used from
// different threads; one object is used by one thread at a time.
#pragma once

#include <cstring>
#include <memory>

class SharedText {
  public:
    // No text: Get() is null.
    SharedText() = default;
    // A private copy of `text` (null stays null), shared from now on by copies of this object.
    explicit SharedText(const char* text) {
        if (text == nullptr) return;
        const std::size_t size = std::strlen(text) + 1;
        chars_.reset(new char[size]);
        std::memcpy(chars_.get(), text, size);
    }

    char* Get() const { return chars_.get(); }

  private:
    std::shared_ptr<char[]> chars_;
};
