// SPDX-License-Identifier: MIT
// Turns texts that a table stores in another code page into Windows-1252, the core's one
// encoding, so that umlauts read from an old DOS table come out right in the pages.
#pragma once
#include <string>
#include <string_view>

namespace pagloom {

class CodePageConverter {
  public:
    // `from` is an iconv code-page name ("CP850", "UTF-8"); "" or a Windows-1252 name means
    // the bytes are taken as they stand. An unknown name also leaves the bytes as they are.
    explicit CodePageConverter(std::string from = "");
    ~CodePageConverter();
    CodePageConverter(const CodePageConverter&) = delete;
    CodePageConverter& operator=(const CodePageConverter&) = delete;

    bool Identity() const { return cd_ == nullptr; }
    // The text in Windows-1252; characters without a Windows-1252 form become '?'.
    std::string ToCp1252(std::string_view text) const;

  private:
    void* cd_ = nullptr;  // iconv_t to UTF-8, null when no conversion is needed
};

// iconv name of the code page a dBase/FoxPro language-driver byte stands for; "" for 0 (none
// declared) and for the Windows-1252 drivers.
std::string DbfLanguageDriverCodePage(unsigned char ldid);

}  // namespace pagloom
