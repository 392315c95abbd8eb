// CZIPAndEntryTool: lets a configuration file be shipped packed in a zip archive. UnZip hands
// back the path of the plain text to read; a packed file is unpacked to a private temporary
// file that lives as long as the returned ZipRet (and its copies). Safe to use from several
// threads, each with its own objects.
#pragma once

#include <memory>
#include <string>

#include "platform/CString.h"
#include "platform/Export.h"

// The result of an unpacking. Copies share the temporary file, which the last of them removes.
struct XMK_EXPORT ZipRet {
    // The plain text to read: the caller's path as given, the unpacked temporary file, or
    // empty when an archive could not be unpacked.
    CString strPath;
    // True when strPath is a temporary file made by UnZip.
    bool bUnzipped = false;

    ZipRet() = default;
    explicit ZipRet(CString path) : strPath(std::move(path)) {}

  private:
    friend class CZIPAndEntryTool;
    // Owns the temporary file: its deleter removes the file.
    std::shared_ptr<const std::string> m_tempFile;
};

class XMK_EXPORT CZIPAndEntryTool {
  public:
    CZIPAndEntryTool();
    virtual ~CZIPAndEntryTool();

    // A file that begins with the zip signature "PK\3\4" is unpacked: of its entries the
    // first whose name ends in ".ini" (in any case), else the first entry that is not a
    // directory. Entries over 64 MiB are refused. A damaged or unusable archive gives an empty
    // path and leaves no file behind. Any other path (plain text, a missing file, a
    // directory, a FIFO or a device, which are never read) is handed back unchanged.
    ZipRet UnZip(const CString& path) const;
};
