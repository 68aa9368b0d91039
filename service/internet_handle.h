#pragma once
// Owner of a WinInet handle (session, connection or request).

#include "platform/unique_resource.h"

#include <wininet.h>

namespace service {

struct InternetHandleTraits {
    static HINTERNET Invalid() { return nullptr; }
    static bool IsValid(HINTERNET h) { return h != nullptr; }
    static void Close(HINTERNET h) { ::InternetCloseHandle(h); }
};

using UniqueInternetHandle = platform::UniqueResource<InternetHandleTraits>;

} // namespace service
