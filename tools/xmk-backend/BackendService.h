// BackendService: answers one request of the back-end interface "UniteInterface" (and of the
// object-list service) with the text of its result, or with a fault when the request is
// malformed. JSON requests are read with the library's CJosn. Thread-safe, as the store is.
#pragma once

#include <string>

#include "BackendStore.h"
#include "SoapMessage.h"

// The outcome of one call: a result text, or a fault and its explanation.
struct ServiceAnswer {
    bool fault = false;
    std::string text;
};

class BackendService {
  public:
    // `store` is not owned and must outlive the service.
    explicit BackendService(BackendStore* store) : store_(store) {}

    ServiceAnswer Call(const SoapRequest& request) const;

  private:
    BackendStore* store_;
};
