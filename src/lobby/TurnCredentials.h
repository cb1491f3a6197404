#pragma once
#include <cstdint>
#include <string>

// coturn's time-limited credentials from a shared secret (its use-auth-secret scheme): the user
// name carries the moment it stops being good ("EXPIRY:NAME"), the password is the name's
// HMAC-SHA1 with the secret, in base64. coturn works the password out again and needs nothing
// stored, so every coturn given the same secret takes it. The lobby names the credential after
// the room, so that coturn's quota per user is a quota per room.
struct TurnCredentials {
    std::string user, password;
};
// Long enough for a relayed game of several rounds: the relay's allocation is refreshed with the
// same credential for as long as the game goes on.
constexpr int64_t turnCredentialSeconds = 3600;

TurnCredentials turnCredentials(const std::string& secret, int64_t expiresAt,
                                const std::string& name);
