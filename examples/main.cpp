// xmk-example URL: an application of xmkclient. It installs the host's identity, writes one
// record through the data store at URL, prints every request as it goes (each carries the
// Permission block the store fills from the identity), and when a call fails tells the back-end
// refusing it from no usable exchange at all.
#include <cstdio>

#include "xmkclient.h"

namespace {

// The host's identity, asked for by every request.
class ExampleSupport : public CServiceSupport {
  public:
    long GetAppId() override { return 5; }
    long GetUserDogId() override { return 12; }
    long GetAppType() const override { return 3; }
};

// A note: a record of the application's own kind (function id 6 and above go through the
// back-end's uniform operation, DoWork).
class Note : public COperatorItem {
  public:
    explicit Note(const CString& text) : text_(text) {}

    XmkFunctionId GetFunctionId() const override { return static_cast<XmkFunctionId>(100); }
    CString GetItemId() const override { return id_; }
    void WriteInsertValues(CJosn& request) override { request.push("Text", text_); }
    bool WriteUpdateValues(CJosn& request, int) override {
        request.push("ID", id_);
        request.push("Text", text_);
        return true;
    }
    void WriteAuditValues(CJosn& request) const override { request.push("ID", id_); }
    void WriteDeleteKeys(CJosn& request) const override { request.push("ID", id_); }
    void SetNewId(const CString& id) override { id_ = id; }
    bool MakeNumber() override { return true; }  // the back-end numbers notes itself
    void BeforeInsert() override {}
    void BeforeUpdate() override {}
    void AfterDelete() const override {}
    void AfterInsert() override {}
    CString GetTableName() const override { return CString(); }  // only generic objects have one
    void WriteExtraValues(CJosn&, int) const override {}

  private:
    CString text_;
    CString id_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: xmk-example URL\n");
        return 2;
    }
    CWebService::instance().SetServiceSupport(new ExampleSupport);  // the client owns it
    SetMessageBoxPresenter([](const CString& text, UINT) {
        std::printf("message box: %s\n", text.GetString());
        return IDOK;
    });
    SetExchangeObserver([](const ExchangeEvent& event) {
        std::printf("%s %s", event.call.method.GetString(), event.call.url.GetString());
        for (const auto& [name, value] : event.call.arguments) {
            std::printf(" %s=%s", name.GetString(), value.GetString());
        }
        std::printf(" -> %s\n", FailureKindName(event.report.kind));
    });

    const CDataStoreWebService store("37", 0, argv[1]);
    Note note("written by xmk-example");
    if (store.AddItem(note)) {
        std::printf("inserted record %s\n", note.GetItemId().GetString());
        return 0;
    }
    // AddItem answers false either way; the calling thread's last exchange tells which.
    const ExchangeReport last = LastExchange();
    if (last.kind == FailureKind::none || last.kind == FailureKind::soap_fault) {
        std::printf("refused by the back-end at %s\n", last.url.GetString());
    } else {
        std::printf("no exchange: %s with %s: %s\n", FailureKindName(last.kind),
                    last.url.GetString(), last.detail.GetString());
    }
    return 1;
}
