#include "wirekit/SoapTransport.h"

#include <curl/curl.h>

#include <string>

#include "wirekit/SoapEnvelope.h"
#include "wirekit/WireSettings.h"
#include "wirekit/detail/ExchangeNote.h"

namespace {

constexpr char kNoUrl[] = "服务器地址为空：";
constexpr char kCannotConnect[] = "无法连接服务器：";
constexpr char kTooLarge[] = "服务器应答过大：";

struct CurlErrorText {
    CURLcode code;
    const char* prefix;
    FailureKind kind;
};

// Transport errors that deserve their own words; all others read kCannotConnect.
constexpr CurlErrorText kCurlErrorTexts[] = {
    {CURLE_URL_MALFORMAT, "服务器地址无效：", FailureKind::connect},
    {CURLE_UNSUPPORTED_PROTOCOL, "服务器地址无效：", FailureKind::connect},
    {CURLE_OPERATION_TIMEDOUT, "连接服务器超时：", FailureKind::timeout},
    {CURLE_SSL_CONNECT_ERROR, "安全连接失败：", FailureKind::tls},
    {CURLE_PEER_FAILED_VERIFICATION, "安全连接失败：", FailureKind::tls},
    {CURLE_SSL_CERTPROBLEM, "安全连接失败：", FailureKind::tls},
    {CURLE_SSL_CIPHER, "安全连接失败：", FailureKind::tls},
    {CURLE_SSL_CACERT_BADFILE, "安全连接失败：", FailureKind::tls},
    {CURLE_SSL_ISSUER_ERROR, "安全连接失败：", FailureKind::tls},
    {CURLE_GOT_NOTHING, "服务器连接中断：", FailureKind::connect},
    {CURLE_PARTIAL_FILE, "服务器连接中断：", FailureKind::connect},
    {CURLE_RECV_ERROR, "服务器连接中断：", FailureKind::connect},
    {CURLE_SEND_ERROR, "服务器连接中断：", FailureKind::connect},
};

// Fills the thread's exchange note with a failure and returns the call's failure result.
std::pair<bool, CString> Fail(FailureKind kind, const char* prefix, std::string detail) {
    ExchangeNote& note = ThreadExchangeNote();
    note.filled = true;
    note.kind = kind;
    note.detail = detail;
    return {false, CString(prefix + detail)};
}

std::pair<bool, CString> TransportFailure(CURLcode code, const char* message) {
    const char* prefix = kCannotConnect;
    FailureKind kind = FailureKind::connect;
    for (const CurlErrorText& text : kCurlErrorTexts) {
        if (text.code == code) {
            prefix = text.prefix;
            kind = text.kind;
            break;
        }
    }
    std::string detail =
        (message != nullptr && message[0] != '\0') ? message : curl_easy_strerror(code);
    return Fail(kind, prefix, detail);
}

bool GlobalInit() {
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ready;
}

// The calling thread's easy handle, kept between calls for its connection cache and freed
// when the thread ends.
class ThreadHandle {
  public:
    ~ThreadHandle() {
        if (curl_ != nullptr) curl_easy_cleanup(curl_);
    }
    // The handle, or null when libcurl cannot start. It keeps the options of the last call:
    // each call sets all the options it uses.
    CURL* Get() {
        if (curl_ == nullptr && GlobalInit()) curl_ = curl_easy_init();
        return curl_;
    }

  private:
    CURL* curl_ = nullptr;
};

thread_local ThreadHandle threadHandle;

struct ReplyBuffer {
    std::string body;
    size_t limit = 0;
    bool tooLarge = false;
};

size_t OnReplyData(char* data, size_t size, size_t count, void* user) {
    auto* reply = static_cast<ReplyBuffer*>(user);
    size_t bytes = size * count;
    if (bytes > reply->limit - reply->body.size()) {
        reply->tooLarge = true;
        return 0;  // makes libcurl abort the transfer
    }
    reply->body.append(data, bytes);
    return bytes;
}

struct HeaderList {
    curl_slist* list = nullptr;
    ~HeaderList() { curl_slist_free_all(list); }
    bool Add(const std::string& header) {
        curl_slist* grown = curl_slist_append(list, header.c_str());
        if (grown == nullptr) return false;
        list = grown;
        return true;
    }
};

class SoapTransport : public IWebTransport {
  public:
    std::pair<bool, CString> Exchange(const WebCall& call) override {
        if (call.url.IsEmpty()) {
            return Fail(FailureKind::connect, kNoUrl, "no URL given for " + call.method.Str());
        }
        CURL* curl = threadHandle.Get();
        if (curl == nullptr) {
            return Fail(FailureKind::connect, kCannotConnect, "libcurl failed to start");
        }

        const WireSettings settings = GetWireSettings();
        const std::string request = BuildSoapRequest(call);
        HeaderList headers;
        // An empty Expect saves the round trip libcurl would wait for before a large body.
        if (!headers.Add("Content-Type: text/xml; charset=utf-8") ||
            !headers.Add("SOAPAction: " + SoapActionOf(call)) || !headers.Add("Expect:")) {
            return Fail(FailureKind::connect, kCannotConnect, "out of memory");
        }
        ReplyBuffer reply;
        reply.limit = settings.maxReplyBytes;
        char error[CURL_ERROR_SIZE] = "";

        curl_easy_setopt(curl, CURLOPT_URL, call.url.GetString());
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, settings.connectTimeoutMs);
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, settings.totalTimeoutMs);
        curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE,
                         static_cast<curl_off_t>(settings.maxReplyBytes));
        curl_easy_setopt(curl, CURLOPT_POST, 1L);
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.data());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(request.size()));
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.list);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnReplyData);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply);
        curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);

        CURLcode code = curl_easy_perform(curl);
        long status = 0;
        const char* contentType = nullptr;
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
        curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &contentType);
        std::string replyType = contentType != nullptr ? contentType : "";
        // The handle outlives this call's buffers.
        curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, nullptr);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, nullptr);

        ExchangeNote& note = ThreadExchangeNote();
        note.httpStatus = status;
        if (reply.tooLarge || code == CURLE_FILESIZE_EXCEEDED) {
            return Fail(FailureKind::too_large, kTooLarge,
                        "reply longer than " + std::to_string(settings.maxReplyBytes) + " bytes");
        }
        if (code != CURLE_OK) return TransportFailure(code, error);
        FailureKind kind = FailureKind::none;
        std::pair<bool, CString> outcome =
            ReadSoapReply(status, replyType, reply.body, call.method, &kind);
        note.filled = true;
        note.kind = kind;
        if (!outcome.first) note.detail = outcome.second.Str();
        note.request = request;
        note.reply = std::move(reply.body);
        return outcome;
    }
};

}  // namespace

IWebTransport& BuiltInSoapTransport() {
    static SoapTransport transport;
    return transport;
}
