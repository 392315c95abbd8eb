// The kind of a parameter query. The data store does not interpret it: it forwards the
// number as the decimal argument "queryType" and the back-end gives it its meaning.
#pragma once

// 32 bits with a fixed underlying type, so that any number the back-end knows can be passed.
enum QueryType : int {
    QueryTypeDefault = 0,
};
