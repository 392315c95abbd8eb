// CIniManager: the installation's configuration, one instance per process (Instance()).
// The host fills it with ReadIniFile and ReadFirstCmd; everybody reads it through the
// getters. Only the first creation is synchronised: the host keeps loading and reading in
// order (no load while other threads read).
#pragma once

#include <utility>
#include <vector>

#include "platform/CString.h"
#include "platform/Export.h"
#include "wirekit/WireSettings.h"

class CIniFile;

class XMK_EXPORT CIniManager {
  public:
    // The section that ReadIniFile took the area settings from.
    enum class AreaSection : unsigned char {
        none,         // neither "Area_<area>" with a "URL2" nor "Area_default" is in the file:
                      // every area setting came out empty, false or 0
        area,         // "Area_<area>", which has a "URL2"
        areaDefault,  // "Area_default"
    };

    CIniManager();
    CIniManager(const CIniManager& other);
    CIniManager& operator=(const CIniManager& other);
    ~CIniManager();

    // The process-wide instance, created on first use (thread-safe).
    static CIniManager& Instance();

    // Loads the area-dependent settings from the section "Area_<area>", or from
    // "Area_default" when that section has no "URL2". False (nothing changed) when the file
    // does not exist or cannot be read (a FIFO, a device or a directory is refused at once).
    //
    // A section "[Transport]" in the file is applied with SetWireSettings, as a whole: its
    // keys CAFile, CAPath, ClientCert, ClientKey, Proxy, NoProxy, ConnectTimeout and Timeout
    // set their settings, and keys absent or empty take their defaults (the reply limit, which
    // has no key, keeps its value). See SetTransportSetting for how each value reads. Without
    // the section the transport settings are left as they are.
    bool ReadIniFile(const CString& path, const CString& area);
    // Loads "FirstCmd", "AppType" and appends the three id lists from the section "SYSTEM"
    // (the lists are never cleared: each call lengthens them). True when the file was read;
    // false, with nothing changed, when it could not be.
    bool ReadFirstCmd(const CString& path);

    // The name of an area's own section: "Area_" followed by `area` as given ("default" names
    // the fallback section).
    static CString AreaSectionName(const CString& area);
    // Where the last successful ReadIniFile found the area settings; none before the first.
    XMK_EXPORT_INLINE AreaSection GetAreaSection() const { return m_areaSection; }

    // The settings as key and text, in the order they are read: the twenty keys of the area
    // section, and the five of "SYSTEM". Switches read "true" or "false", numbers in decimal,
    // id lists joined by ",".
    std::vector<std::pair<CString, CString>> GetAreaSettingTexts() const;
    std::vector<std::pair<CString, CString>> GetSystemSettingTexts() const;

    // Sets in `settings` what the [Transport] key `key` (spelled as above) sets, from `value`
    // as the file gives it. Paths (CAFile, CAPath, ClientCert, ClientKey) that are relative
    // are taken relative to `folder` (the configuration file's folder, "/" at its end; empty:
    // the working directory). ConnectTimeout and Timeout are seconds: a decimal number above
    // 0 and at most 2147483.647 ("10", "2.5"), finer fractions rounded up to the next
    // millisecond. False, with `settings` unchanged, for an unknown key or a bad number.
    static bool SetTransportSetting(WireSettings& settings, const CString& key,
                                    const CString& value, const CString& folder);
    XMK_EXPORT_INLINE const CString& GetEmpConstraints1() const { return m_strEmpConstraints1; }
    XMK_EXPORT_INLINE const CString& GetEmpConstraints2() const { return m_strEmpConstraints2; }
    XMK_EXPORT_INLINE const CString& GetEnterpriseWebService() const {
        return m_strEnterpriseWebService;
    }
    XMK_EXPORT_INLINE const CString& GetKQKHWebService() const { return m_strKQKHWebService; }
    XMK_EXPORT_INLINE const CString& GetBzkWebService() const { return m_strBzkWebService; }
    void SetStrBzkWebService(const CString& url);
    XMK_EXPORT_INLINE const CString& GetSegmentService() const { return m_strSegmentService; }
    XMK_EXPORT_INLINE bool IsGetFtpInfoFromINI() const { return m_bGetFtpInfoFromINI; }
    XMK_EXPORT_INLINE const CString& GetCheckManagerService() const {
        return m_strCheckManagerService;
    }
    XMK_EXPORT_INLINE const CString& GetFirstCmd() const { return m_strFirstCmd; }
    XMK_EXPORT_INLINE const CString& GetAopService() const { return m_strAopService; }
    XMK_EXPORT_INLINE const CString& GetstrFtpUserName() const { return m_strFtpUserName; }
    XMK_EXPORT_INLINE const CString& GetstrFtpServer() const { return m_strFtpServer; }
    XMK_EXPORT_INLINE const CString& GetstrFtpPassWord() const { return m_strFtpPassWord; }
    XMK_EXPORT_INLINE const CString& GetstrLoadButton() const { return m_strLoadButton; }
    XMK_EXPORT_INLINE const CString& GetIssuer() const { return m_strIssuer; }
    XMK_EXPORT_INLINE int GetPrintModel() const { return m_nPrintModel; }
    XMK_EXPORT_INLINE bool IsChangeReasonMust() const { return m_bChangeReasonMust; }
    XMK_EXPORT_INLINE bool IsAddTHSeggestionMust() const { return m_bAddTHSeggestionMust; }
    XMK_EXPORT_INLINE bool IsNeedAudit() const { return m_bNeedAudit; }
    XMK_EXPORT_INLINE bool isNeedSearch() const { return m_bNeedSearch; }
    XMK_EXPORT_INLINE int GetAppType() const { return m_nAppType; }
    XMK_EXPORT_INLINE const std::vector<long>& GetZbdlDogIds() const { return m_ZbdlDogIds; }
    XMK_EXPORT_INLINE const std::vector<long>& GetZbdlAndSgjlDogIds() const {
        return m_ZbdlAndSgjlDogIds;
    }
    XMK_EXPORT_INLINE const std::vector<long>& GetKcsjDogIds() const { return m_KcsjDogIds; }
    XMK_EXPORT_INLINE const CString& GetBzkWebService_old() const { return m_strBzkWebService_old; }

  private:
    struct Setting;  // a row of the key table
    static const Setting kSettings[];

    // Reads the rows of the key table that belong in "SYSTEM" (`system`) or else the area
    // section, from `section` of `ini`.
    void ReadSettings(const CIniFile& ini, const CString& section, bool system);
    std::vector<std::pair<CString, CString>> SettingTexts(bool system) const;

    CString m_strEmpConstraints1;
    CString m_strEmpConstraints2;
    CString m_strEnterpriseWebService;
    CString m_strKQKHWebService;
    CString m_strBzkWebService;
    CString m_strSegmentService;
    bool m_bGetFtpInfoFromINI;
    // Kept in bytes that were padding after the switch above, so the object keeps its size
    // and the offsets of its fields.
    AreaSection m_areaSection;
    CString m_strCheckManagerService;
    CString m_strFirstCmd;
    CString m_strAopService;
    CString m_strFtpUserName;
    CString m_strFtpServer;
    CString m_strFtpPassWord;
    CString m_strLoadButton;
    CString m_strIssuer;
    int m_nPrintModel;
    bool m_bChangeReasonMust;
    bool m_bAddTHSeggestionMust;
    bool m_bNeedAudit;
    bool m_bNeedSearch;
    int m_nAppType;
    std::vector<long> m_ZbdlDogIds;
    std::vector<long> m_ZbdlAndSgjlDogIds;
    std::vector<long> m_KcsjDogIds;
    CString m_strBzkWebService_old;
};
