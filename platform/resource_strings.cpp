#include "platform/resource_strings.h"

#include "platform/critical_section.h"
#include "platform/resource_modules.h"
#include "platform/text.h"

#include <map>

namespace platform {
namespace {

struct CachedString {
    std::wstring wide;
    std::string narrow;
};

CriticalSection& CacheLock() {
    static CriticalSection lock;
    return lock;
}

// Nodes of a map never move, so the references handed out stay valid.
std::map<UINT, CachedString>& Cache() {
    static std::map<UINT, CachedString> cache;
    return cache;
}

const CachedString& Lookup(UINT id) {
    ScopedLock lock(CacheLock());
    auto [it, inserted] = Cache().try_emplace(id);
    if (inserted) {
        if (!LoadStringResource(id, it->second.wide))
            it->second.wide = L"Unknown resource";
        it->second.narrow = AnsiFromWide(it->second.wide);
    }
    return it->second;
}

} // namespace

const std::wstring& ResourceString(UINT id) {
    return Lookup(id).wide;
}
const std::string& ResourceStringA(UINT id) {
    return Lookup(id).narrow;
}

} // namespace platform
