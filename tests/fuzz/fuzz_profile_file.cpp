#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/profile_file.h"

// Whatever bytes the file holds, reading must not crash, an untouched file
// must come back byte for byte, and a written value must read back.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    olmira::ProfileFile profile = olmira::ProfileFile::FromText(text);
    if (profile.ToText() != text) {
        __builtin_trap();
    }
    profile.ReadString("Allgemein", "PC1", "");
    profile.ReadString("Network", "olmira_Host", "");
    profile.ReadInteger("Transfer", "update_intervall", 5000);
    profile.ReadInteger("MPEG", "maxSizeTS", 1000);

    profile.WriteString("Network", "olmira_host", "box");
    profile.WriteInteger("Transfer", "update_intervall", -7);
    const olmira::ProfileFile reread = olmira::ProfileFile::FromText(profile.ToText());
    if (reread.ReadString("network", "OLMIRA_HOST", "") != "box" ||
        reread.ReadInteger("transfer", "update_intervall", 0) != -7) {
        __builtin_trap();
    }
    return 0;
}
