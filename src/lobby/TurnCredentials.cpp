#include "lobby/TurnCredentials.h"
#include <cstdio>
#include <glib.h>

TurnCredentials turnCredentials(const std::string& secret, int64_t unixNow, uint32_t tag,
                                int64_t lifetimeSeconds) {
    TurnCredentials c;
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", tag);
    c.user = std::to_string(unixNow + lifetimeSeconds) + ":tuvo-" + hex;
    GHmac* hmac =
        g_hmac_new(G_CHECKSUM_SHA1, reinterpret_cast<const guchar*>(secret.data()), secret.size());
    g_hmac_update(hmac, reinterpret_cast<const guchar*>(c.user.data()),
                  static_cast<gssize>(c.user.size()));
    guint8 digest[20];
    gsize length = sizeof digest;
    g_hmac_get_digest(hmac, digest, &length);
    g_hmac_unref(hmac);
    gchar* text = g_base64_encode(digest, length);
    c.password = text;
    g_free(text);
    return c;
}
