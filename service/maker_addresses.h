#pragma once
// The maker's addresses that the program carries: the web host that serves the version file
// (update_host.h lets the environment point the program elsewhere) and the mailbox that crash
// reports are sent to.

#include <cstdint>

namespace service {

inline constexpr char kUpdateHostName[] = "update.velk.com";
inline constexpr uint16_t kUpdateHostPort = 80;
inline constexpr char kSupportAddress[] = "support@velk.com";

} // namespace service
