#pragma once
// The single retry of a request whose server certificate the system does not trust.

#include <windows.h>
#include <wininet.h>

namespace service {

// Unknown authority, wrong date, wrong name: the errors that relaxed checks may get past.
inline bool IsCertificateError(DWORD error) {
    return error == ERROR_INTERNET_INVALID_CA || error == ERROR_INTERNET_SEC_CERT_DATE_INVALID ||
           error == ERROR_INTERNET_SEC_CERT_CN_INVALID;
}

// Sends with `send` (returns 0 when the request went out, else its error). A certificate error
// relaxes the checks with `relax` (false when that cannot be done) and sends exactly once more,
// whatever the security flags read back afterwards: some WinInets never report every flag as
// set, so a retry until they do would never end. Returns the error of the last send.
template <typename Send, typename Relax>
DWORD SendWithCertificateRetry(Send send, Relax relax) {
    const DWORD error = send();
    if (error == 0 || !IsCertificateError(error) || !relax())
        return error;
    return send();
}

} // namespace service
