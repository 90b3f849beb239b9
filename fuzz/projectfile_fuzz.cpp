// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the INI parser and the project reader and writer. Besides not
// crashing, the INI text must be stable: parsing what it writes gives the same text again.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "projectfile/ProjectFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pagloom;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const IniFile ini(text);
    const std::string once = ini.Text();
    if (IniFile(once).Text() != once) std::abort();

    RecordingHost host;
    Project p;
    ReadProject(p, ini, host);
    const std::string saved = ProjectFileText(p, text, "01.01.2000 00:00:00", "2.0.1");
    Project again;
    ReadProject(again, IniFile(saved), host);
    return 0;
}
