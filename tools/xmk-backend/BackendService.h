// BackendService: answers one request of the back-end interface "UniteInterface" (and of the
// object-list service) with the text of its result, or with a fault when the request is
// malformed. JSON requests are read with the library's CJosn. Thread-safe, as the store is.
#pragma once

#include <string>
#include <vector>

#include "BackendStore.h"
#include "SoapMessage.h"

// The outcome of one call: a result text, or a fault and its explanation.
struct ServiceAnswer {
    bool fault = false;
    std::string text;
};

// A method the service answers: its name, the namespace of its request element and its
// string arguments in order. Its result is one string.
struct MethodSignature {
    std::string name;
    std::string nameSpace;
    std::vector<std::string> arguments;
};

class BackendService {
  public:
    // `store` is not owned and must outlive the service.
    explicit BackendService(BackendStore* store) : store_(store) {}

    // A request that lacks one of its method's arguments is a fault; further arguments are
    // ignored.
    ServiceAnswer Call(const SoapRequest& request) const;

    // Every method Call answers, from the table it dispatches by.
    static std::vector<MethodSignature> Methods();

  private:
    BackendStore* store_;
};
