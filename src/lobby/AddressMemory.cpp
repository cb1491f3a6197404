#include "lobby/AddressMemory.h"
#include <arpa/inet.h>
#include <cstring>

bool readAddressKey(const std::string& text, AddressKey& key) {
    key = AddressKey{};
    in_addr v4{};
    if (inet_pton(AF_INET, text.c_str(), &v4) == 1) {
        key.bytes[10] = key.bytes[11] = 0xff;
        std::memcpy(&key.bytes[12], &v4, 4);
        return true;
    }
    if (inet_pton(AF_INET6, text.c_str(), key.bytes.data()) != 1)
        return false;
    // ::ffff:a.b.c.d, as a lobby listening on [::] sees IPv4: the IPv4 address.
    static const uint8_t mapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
    key.v6 = std::memcmp(key.bytes.data(), mapped, sizeof mapped) != 0;
    return true;
}

AddressKey networkOf(const AddressKey& address) {
    if (!address.v6)
        return address;
    AddressKey n = address;
    std::memset(&n.bytes[8], 0, 8);
    n.network = true;
    return n;
}

namespace {
uint64_t mix(uint64_t x) {
    x ^= x >> 30;
    x *= 0xbf58476d1ce4e5b9ull;
    x ^= x >> 27;
    x *= 0x94d049bb133111ebull;
    return x ^ (x >> 31);
}
} // namespace

AddressMemory::AddressMemory(size_t capacity, uint64_t key)
    : entries((capacity + ways - 1) / ways * ways), hashKey(key) {}

size_t AddressMemory::setOf(const AddressKey& key) const {
    uint64_t high = 0, low = 0;
    std::memcpy(&high, key.bytes.data(), 8);
    std::memcpy(&low, key.bytes.data() + 8, 8);
    const uint64_t h = mix(mix(high ^ hashKey) ^ low ^ (key.network ? 0x9e3779b97f4a7c15ull : 0));
    return static_cast<size_t>(h % (entries.size() / ways)) * ways;
}

AddressMemory::Entry& AddressMemory::at(const AddressKey& key, uint64_t now) {
    const size_t first = setOf(key);
    Entry* place = &entries[first];
    for (size_t n = first; n < first + ways; ++n) {
        Entry& e = entries[n];
        if (e.used && e.key == key) {
            e.seen = now;
            return e;
        }
        // A free place first; else the one seen longest ago (a forgotten one if there is).
        if (place->used && (!e.used || e.seen < place->seen))
            place = &e;
    }
    *place = Entry{};
    place->key = key;
    place->used = true;
    place->seen = now;
    return *place;
}
