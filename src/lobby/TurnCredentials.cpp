#include "lobby/TurnCredentials.h"
#include <glib.h>

TurnCredentials turnCredentials(const std::string& secret, int64_t expiresAt,
                                const std::string& name) {
    TurnCredentials c;
    c.user = std::to_string(expiresAt) + ":" + name;
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
