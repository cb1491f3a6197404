#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Where a connection comes from, as the lobby counts it: the address, and for IPv6 its /64 (one
// home or one server is given a whole /64, so bounds per address alone would be no bounds).
// IPv4 addresses, also written IPv4-mapped, are their own network.
struct AddressKey {
    std::array<uint8_t, 16> bytes{};
    bool v6 = false;
    bool network = false; // the /64 of an IPv6 address rather than the address itself
    bool operator==(const AddressKey&) const = default;
};
// False for text that is not an IPv4 or IPv6 address.
bool readAddressKey(const std::string& text, AddressKey& key);
// The /64 an IPv6 address is in; an IPv4 address itself.
AddressKey networkOf(const AddressKey& address);

// How often something may happen: `most` times in a window of `windowMs`, the window starting
// with the first of them.
struct Rate {
    uint32_t most = 0;
    uint64_t windowMs = 0;
};
struct RateCount {
    uint32_t count = 0;
    uint64_t since = 0;
    bool full(const Rate& rate, uint64_t nowMs) const {
        return nowMs - since < rate.windowMs && count >= rate.most;
    }
    void add(const Rate& rate, uint64_t nowMs) {
        if (count == 0 || nowMs - since >= rate.windowMs)
            count = 0, since = nowMs;
        ++count;
    }
};

// What the lobby remembers of addresses and networks that have gone: how many connections they
// opened, rooms they made, wrong codes they sent and relay credentials they were given, each in
// its window. A table of fixed size made once: four places an address may go (picked by a hash
// keyed with a random number, so that nobody outside can aim several addresses at one place),
// and when all four are taken, the one seen longest ago gives way (its windows are over, as a
// rule: four addresses busy at once in one place of thousands are rare). However many addresses
// come, the table never grows.
class AddressMemory {
  public:
    enum Count { opens, roomsMade, wrongCodes, relayGrants, countKinds };
    struct Entry {
        AddressKey key;
        bool used = false;
        uint64_t seen = 0;
        std::array<RateCount, countKinds> counts{};
    };
    static constexpr size_t ways = 4;

    // `capacity` is rounded up to a multiple of `ways`.
    AddressMemory(size_t capacity, uint64_t hashKey);

    // The entry of a key, made (in place of another if need be) when there is none.
    Entry& at(const AddressKey& key, uint64_t nowMs);
    size_t capacity() const { return entries.size(); }
    size_t bytes() const { return entries.capacity() * sizeof(Entry); }

  private:
    size_t setOf(const AddressKey& key) const;
    std::vector<Entry> entries;
    uint64_t hashKey;
};
