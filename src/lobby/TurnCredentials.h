#pragma once
#include <cstdint>
#include <string>

// coturn's time-limited credentials from a shared secret (its use-auth-secret scheme): the user
// name carries the moment it stops being good ("EXPIRY:tuvo-TAG", the tag telling games apart
// for coturn's quotas), the password is the name's HMAC-SHA1 with the secret, in base64. coturn
// works the password out again and needs nothing stored.
struct TurnCredentials {
    std::string user, password;
};
constexpr int64_t turnCredentialSeconds = 3600;

TurnCredentials turnCredentials(const std::string& secret, int64_t unixNow, uint32_t tag,
                                int64_t lifetimeSeconds = turnCredentialSeconds);
