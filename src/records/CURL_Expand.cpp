#include "records/CURL_Expand.h"

CURL_Expand::CURL_Expand() = default;

CURL_Expand::CURL_Expand(const CURL_Expand& other) = default;

CURL_Expand& CURL_Expand::operator=(const CURL_Expand& other) = default;

CURL_Expand::~CURL_Expand() = default;
