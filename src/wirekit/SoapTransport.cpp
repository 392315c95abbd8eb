#include "wirekit/SoapTransport.h"

#include <curl/curl.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "wirekit/SoapEnvelope.h"
#include "wirekit/WireSettings.h"
#include "wirekit/detail/ExchangeNote.h"
#include "wirekit/detail/WireSettingsState.h"

namespace {

constexpr char kNoUrl[] = "服务器地址为空：";
constexpr char kCannotConnect[] = "无法连接服务器：";
constexpr char kTls[] = "安全连接失败：";
constexpr char kTooLarge[] = "服务器应答过大：";
constexpr char kCancelled[] = "请求已取消：";

// A transfer waits at most this long for its sockets before it looks at the time-outs again;
// libcurl's own timers and CancelExchanges wake it sooner.
constexpr int kPollMs = 5000;
// Buffers that grew beyond this for one large exchange are let go before the next.
constexpr size_t kKeptBufferBytes = size_t{1} << 20;

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
    {CURLE_SSL_CONNECT_ERROR, kTls, FailureKind::tls},
    {CURLE_PEER_FAILED_VERIFICATION, kTls, FailureKind::tls},
    {CURLE_SSL_CERTPROBLEM, kTls, FailureKind::tls},
    {CURLE_SSL_CIPHER, kTls, FailureKind::tls},
    {CURLE_SSL_CACERT_BADFILE, kTls, FailureKind::tls},
    {CURLE_SSL_ISSUER_ERROR, kTls, FailureKind::tls},
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

bool StartsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// libcurl words a refused connection alike for the server and for a proxy ("Failed to connect
// to HOST port N ..."), naming the host it tried. When that host is not the URL's, it was the
// proxy, and the detail says so.
bool NamesAnotherHost(const std::string& message, const CString& url) {
    constexpr char kRefused[] = "Failed to connect to ";
    if (!StartsWith(message, kRefused)) return false;
    CURLU* parts = curl_url();
    char* host = nullptr;
    char* port = nullptr;
    bool another = false;
    if (parts != nullptr && curl_url_set(parts, CURLUPART_URL, url.GetString(), 0) == CURLUE_OK &&
        curl_url_get(parts, CURLUPART_HOST, &host, 0) == CURLUE_OK &&
        curl_url_get(parts, CURLUPART_PORT, &port, CURLU_DEFAULT_PORT) == CURLUE_OK) {
        std::string bare = host;
        if (bare.size() > 2 && bare.front() == '[') bare = bare.substr(1, bare.size() - 2);
        const std::string server = bare + " port " + port + " ";
        another =
            !curl_strnequal(message.c_str() + sizeof(kRefused) - 1, server.c_str(), server.size());
    }
    curl_free(host);
    curl_free(port);
    curl_url_cleanup(parts);
    return another;
}

std::pair<bool, CString> TransportFailure(CURLcode code, const char* message, const CString& url) {
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
    if (code == CURLE_COULDNT_CONNECT && NamesAnotherHost(detail, url)) detail = "proxy: " + detail;
    // A TLS alert after the handshake reaches libcurl as a receive or send error; TLS 1.3 is
    // how a server refuses a missing client certificate. The message names the TLS layer.
    if ((code == CURLE_RECV_ERROR || code == CURLE_SEND_ERROR) &&
        detail.find("SSL") != std::string::npos) {
        prefix = kTls;
        kind = FailureKind::tls;
    }
    return Fail(kind, prefix, detail);
}

bool GlobalInit() {
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ready;
}

// Every thread's link, for CancelExchanges to reach the transfers in flight.
class Link;
std::mutex linksMutex;
Link* firstLink = nullptr;  // guarded by linksMutex
std::atomic<uint64_t> cancelGeneration{0};

// The calling thread's libcurl state, kept between calls and freed when the thread ends: an
// easy handle driven by a multi handle of its own. The multi keeps the connection cache, so
// consecutive calls ride one keep-alive connection, and its poll can be woken from another
// thread, which is how CancelExchanges ends a stalled transfer at once. The buffers keep their
// capacity from call to call.
class Link {
  public:
    Link() = default;
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;
    ~Link() {
        if (multi_ == nullptr) return;
        {
            std::lock_guard<std::mutex> lock(linksMutex);
            if (previous_ != nullptr) previous_->next_ = next_;
            if (next_ != nullptr) next_->previous_ = previous_;
            if (firstLink == this) firstLink = next_;
        }
        curl_easy_cleanup(easy_);
        curl_multi_cleanup(multi_);
        curl_slist_free_all(headers_);
    }

    // False when libcurl cannot start.
    bool Ready() {
        if (multi_ != nullptr) return true;
        if (!GlobalInit()) return false;
        easy_ = curl_easy_init();
        multi_ = curl_multi_init();
        if (easy_ == nullptr || multi_ == nullptr) {
            curl_easy_cleanup(easy_);
            curl_multi_cleanup(multi_);
            easy_ = nullptr;
            multi_ = nullptr;
            return false;
        }
        std::lock_guard<std::mutex> lock(linksMutex);
        next_ = firstLink;
        if (next_ != nullptr) next_->previous_ = this;
        firstLink = this;
        return true;
    }

    // Wakes the transfer in flight, if any. REQUIRES: linksMutex is held.
    void Wake() {
        if (busy_.load()) curl_multi_wakeup(multi_);
    }
    Link* Next() const { return next_; }

    std::pair<bool, CString> Exchange(const WebCall& call) {
        // Marked busy before the generation is read: a cancel that this exchange does not see
        // in the generation finds it busy and wakes it.
        busy_.store(true);
        const uint64_t generation = cancelGeneration.load();
        bool cancelled = false;
        const bool prepared = Prepare(call);
        const CURLcode code = prepared ? Transfer(generation, &cancelled) : CURLE_OK;
        busy_.store(false);
        if (!prepared) return Fail(FailureKind::connect, kCannotConnect, "out of memory");
        ExchangeNote& note = ThreadExchangeNote();
        note.request = &request_;
        note.reply = &reply_;
        long status = 0;
        const char* contentType = nullptr;
        curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
        curl_easy_getinfo(easy_, CURLINFO_CONTENT_TYPE, &contentType);
        contentType_.assign(contentType != nullptr ? contentType : "");

        note.httpStatus = status;
        if (cancelled) return Fail(FailureKind::cancelled, kCancelled, "cancelled");
        if (tooLarge_ || code == CURLE_FILESIZE_EXCEEDED) {
            return Fail(FailureKind::too_large, kTooLarge,
                        "reply longer than " + std::to_string(settings_->maxReplyBytes) + " bytes");
        }
        if (code != CURLE_OK) return TransportFailure(code, error_, call.url);
        FailureKind kind = FailureKind::none;
        std::pair<bool, CString> outcome =
            ReadSoapReply(status, contentType_, reply_, call.method, &kind);
        note.filled = true;
        note.kind = kind;
        if (!outcome.first) note.detail = outcome.second.Str();
        return outcome;
    }

  private:
    static size_t OnReplyData(char* data, size_t size, size_t count, void* user) {
        auto* link = static_cast<Link*>(user);
        const size_t bytes = size * count;
        if (bytes > link->settings_->maxReplyBytes - link->reply_.size()) {
            link->tooLarge_ = true;
            return 0;  // makes libcurl abort the transfer
        }
        link->reply_.append(data, bytes);
        return bytes;
    }

    // Sets the options of this call, touching only those that changed since the last one.
    bool Prepare(const WebCall& call) {
        if (settingsVersion_ != WireSettingsVersion()) ApplySettings();
        if (request_.capacity() > kKeptBufferBytes) std::string().swap(request_);
        if (reply_.capacity() > kKeptBufferBytes) std::string().swap(reply_);
        reply_.clear();
        tooLarge_ = false;
        error_[0] = '\0';
        BuildSoapRequest(call, &request_);
        curl_easy_setopt(easy_, CURLOPT_POSTFIELDS, request_.data());
        curl_easy_setopt(easy_, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(request_.size()));
        if (url_ != call.url) {
            curl_easy_setopt(easy_, CURLOPT_URL, call.url.GetString());
            url_ = call.url;
        }
        if (headers_ == nullptr || headerNamespace_ != call.nameSpace ||
            headerMethod_ != call.method) {
            curl_slist* list = nullptr;
            // An empty Expect saves the round trip libcurl would wait for before a large body.
            for (const std::string& header :
                 {std::string("Content-Type: text/xml; charset=utf-8"),
                  "SOAPAction: " + SoapActionOf(call), std::string("Expect:")}) {
                curl_slist* grown = curl_slist_append(list, header.c_str());
                if (grown == nullptr) {
                    curl_slist_free_all(list);
                    return false;
                }
                list = grown;
            }
            curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, list);
            curl_slist_free_all(headers_);
            headers_ = list;
            headerNamespace_ = call.nameSpace;
            headerMethod_ = call.method;
        }
        return true;
    }

    // Puts every option back to libcurl's default, then sets those of the settings in force.
    // The handle keeps its connections; libcurl reuses one only when it was made with the same
    // trust, identity and proxy.
    void ApplySettings() {
        const WireSettingsSnapshot snapshot = CurrentWireSettings();
        settings_ = snapshot.settings;
        settingsVersion_ = snapshot.version;
        const WireSettings& settings = *settings_;
        curl_easy_reset(easy_);
        url_.Empty();
        curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers_);
        curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy_, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(easy_, CURLOPT_SSL_VERIFYHOST, 2L);
        curl_easy_setopt(easy_, CURLOPT_POST, 1L);
        curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, OnReplyData);
        curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
        curl_easy_setopt(easy_, CURLOPT_ERRORBUFFER, error_);
        curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS, settings.connectTimeoutMs);
        curl_easy_setopt(easy_, CURLOPT_TIMEOUT_MS, settings.totalTimeoutMs);
        curl_easy_setopt(easy_, CURLOPT_MAXFILESIZE_LARGE,
                         static_cast<curl_off_t>(settings.maxReplyBytes));
        const struct {
            CURLoption option;
            const CString& value;
        } texts[] = {
            {CURLOPT_CAINFO, settings.caFile},      {CURLOPT_CAPATH, settings.caPath},
            {CURLOPT_SSLCERT, settings.clientCert}, {CURLOPT_SSLKEY, settings.clientKey},
            {CURLOPT_PROXY, settings.proxy},        {CURLOPT_NOPROXY, settings.noProxy},
        };
        for (const auto& text : texts) {
            if (!text.value.IsEmpty()) curl_easy_setopt(easy_, text.option, text.value.GetString());
        }
        // libcurl reads no_proxy from the environment unless told otherwise, even for a proxy
        // set here; an empty list keeps a proxy set here free of the environment.
        if (!settings.proxy.IsEmpty() && settings.noProxy.IsEmpty()) {
            curl_easy_setopt(easy_, CURLOPT_NOPROXY, "");
        }
    }

    // Runs the transfer until it ends or the cancel generation moves on from `generation`.
    CURLcode Transfer(uint64_t generation, bool* cancelled) {
        CURLcode code = CURLE_OK;
        CURLMcode state = curl_multi_add_handle(multi_, easy_);
        int running = 1;
        while (state == CURLM_OK) {
            state = curl_multi_perform(multi_, &running);
            if (state != CURLM_OK || running == 0) break;
            if (cancelGeneration.load() != generation) {
                *cancelled = true;
                break;
            }
            state = curl_multi_poll(multi_, nullptr, 0, kPollMs, nullptr);
        }
        if (state != CURLM_OK) {
            std::snprintf(error_, sizeof(error_), "%s", curl_multi_strerror(state));
            code = CURLE_FAILED_INIT;
        } else if (!*cancelled) {
            int left = 0;
            while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
                if (message->msg == CURLMSG_DONE) code = message->data.result;
            }
        }
        curl_multi_remove_handle(multi_, easy_);
        return code;
    }

    CURL* easy_ = nullptr;
    CURLM* multi_ = nullptr;
    Link* previous_ = nullptr;  // guarded by linksMutex, as is next_
    Link* next_ = nullptr;
    std::atomic<bool> busy_{false};

    std::shared_ptr<const WireSettings> settings_;
    uint64_t settingsVersion_ = 0;
    CString url_;  // the URL set on the handle
    curl_slist* headers_ = nullptr;
    CString headerNamespace_;  // what the SOAPAction of headers_ was made from
    CString headerMethod_;

    std::string request_;
    std::string reply_;
    std::string contentType_;
    bool tooLarge_ = false;
    char error_[CURL_ERROR_SIZE] = "";
};

thread_local Link threadLink;

class SoapTransport : public IWebTransport {
  public:
    std::pair<bool, CString> Exchange(const WebCall& call) override {
        if (call.url.IsEmpty()) {
            return Fail(FailureKind::connect, kNoUrl, "no URL given for " + call.method.Str());
        }
        if (!threadLink.Ready()) {
            return Fail(FailureKind::connect, kCannotConnect, "libcurl failed to start");
        }
        return threadLink.Exchange(call);
    }
};

}  // namespace

IWebTransport& BuiltInSoapTransport() {
    static SoapTransport transport;
    return transport;
}

void CancelSoapExchanges() {
    std::lock_guard<std::mutex> lock(linksMutex);
    cancelGeneration.fetch_add(1);
    for (Link* link = firstLink; link != nullptr; link = link->Next()) link->Wake();
}
