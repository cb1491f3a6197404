#include "record/KeptRounds.h"
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
const std::string roundEnding = ".round";
const std::string foreverEnding = ".forever.round";
// A file being written; never listed, and never left behind by keep.
const std::string temporaryStart = ".keeping-";
// Larger than a kept round of the longest recording can be: a bigger file is not read at all.
constexpr uintmax_t largestRound = 4u << 20;
// "2026-12-09_09-31-57": when the round was played, in UTC.
constexpr size_t stampLength = 19;

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string stampOf(int64_t playedAt) {
    const std::time_t when = static_cast<std::time_t>(playedAt);
    std::tm utc{};
    char text[32];
    if (!gmtime_r(&when, &utc) || !std::strftime(text, sizeof text, "%Y-%m-%d_%H-%M-%S", &utc))
        return "round";
    return text;
}

// What a name the game gave says: when, the number that tells rounds of one second apart (1 for
// the first), and whether it is kept forever. False for any other name.
struct RoundName {
    int64_t playedAt = 0;
    long number = 1;
    bool forever = false;
    std::string stem; // the name without its ending
};

bool readRoundName(const std::string& name, RoundName& read) {
    read.forever = endsWith(name, foreverEnding);
    if (!read.forever && !endsWith(name, roundEnding))
        return false;
    read.stem = name.substr(0, name.size() - (read.forever ? foreverEnding : roundEnding).size());
    if (read.stem.size() < stampLength)
        return false;
    std::tm utc{};
    const char* end = strptime(read.stem.c_str(), "%Y-%m-%d_%H-%M-%S", &utc);
    if (!end || end != read.stem.c_str() + stampLength)
        return false;
    read.playedAt = timegm(&utc);
    read.number = 1;
    if (read.stem.size() == stampLength)
        return true;
    const std::string rest = read.stem.substr(stampLength);
    if (rest.size() < 2 || rest.size() > 8 || rest[0] != '_' ||
        rest.find_first_not_of("0123456789", 1) != std::string::npos)
        return false;
    read.number = std::strtol(rest.c_str() + 1, nullptr, 10);
    return read.number >= 2;
}

bool readBytes(const std::string& path, std::string& bytes, std::string& wrong) {
    std::error_code error;
    const uintmax_t size = fs::file_size(path, error);
    if (error)
        return wrong = "cannot be read (" + error.message() + ")", false;
    if (size > largestRound)
        return wrong = "damaged: " + std::to_string(size) + " bytes, larger than any round", false;
    std::ifstream in(path, std::ios::binary);
    bytes.assign(static_cast<size_t>(size), '\0');
    if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(size)))
        return wrong = std::string("cannot be read (") + std::strerror(errno) + ")", false;
    return true;
}

// Newest first: by when the round was played, then by its number within that second.
struct Order {
    int64_t when;
    long number;
    std::string name;
};

bool newerFirst(const Order& a, const Order& b) {
    if (a.when != b.when)
        return a.when > b.when;
    if (a.number != b.number)
        return a.number > b.number;
    return a.name > b.name;
}

bool writeAll(int file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(file, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += static_cast<size_t>(wrote);
    }
    return true;
}
} // namespace

KeptRounds::KeptRounds(std::string folder, size_t keepNewest)
    : where(std::move(folder)), newest(keepNewest) {}

std::string KeptRounds::defaultFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/')
        return std::string(data) + "/tuvo/rounds";
    const char* home = std::getenv("HOME");
    if (home && home[0])
        return std::string(home) + "/.local/share/tuvo/rounds";
    return "";
}

std::string KeptRounds::keep(const RoundDetails& details, const Replay& replay,
                             std::string& message) {
    std::error_code error;
    if (where.empty() || (fs::create_directories(where, error), error)) {
        message = "rounds' folder '" + where + "': cannot be made (" +
                  (where.empty() ? std::string("no home folder") : error.message()) + ")";
        return "";
    }
    std::string temporary = where + "/" + temporaryStart + "XXXXXX";
    const int file = ::mkstemp(temporary.data());
    if (file < 0) {
        message =
            "rounds' folder '" + where + "': cannot be written (" + std::strerror(errno) + ")";
        return "";
    }
    const bool written = writeAll(file, encodeKeptRound(details, replay)) && ::fsync(file) == 0;
    const int writeError = errno;
    ::close(file);
    std::string path;
    if (!written) {
        message =
            "rounds' folder '" + where + "': cannot be written (" + std::strerror(writeError) + ")";
    } else {
        // A link never replaces a file that is there already, so two rounds of one second (even
        // from two games at once) each get a name of their own.
        const std::string stamp = stampOf(details.playedAt);
        for (int number = 1; number < 10000 && path.empty(); ++number) {
            const std::string stem = number == 1 ? stamp : stamp + "_" + std::to_string(number);
            if (fs::exists(where + "/" + stem + foreverEnding, error))
                continue;
            const std::string target = where + "/" + stem + roundEnding;
            if (::link(temporary.c_str(), target.c_str()) == 0)
                path = target;
            else if (errno != EEXIST) {
                message =
                    "kept round '" + target + "': cannot be written (" + std::strerror(errno) + ")";
                break;
            }
        }
        if (path.empty() && message.empty())
            message = "rounds' folder '" + where + "': every name for this second is taken";
    }
    ::unlink(temporary.c_str());
    if (!path.empty())
        prune();
    return path;
}

std::vector<KeptRound> KeptRounds::list() const {
    std::vector<std::pair<Order, KeptRound>> found;
    std::error_code error;
    for (fs::directory_iterator it(where, error), end; !error && it != end; it.increment(error)) {
        std::error_code kindError;
        if (!it->is_regular_file(kindError))
            continue;
        KeptRound round;
        round.path = it->path().string();
        round.name = it->path().filename().string();
        if (round.name.rfind(temporaryStart, 0) == 0)
            continue;
        RoundName named;
        const bool ours = readRoundName(round.name, named);
        round.forever = ours && named.forever;
        std::string bytes;
        Replay replay;
        round.readable =
            readBytes(round.path, bytes, round.wrong) &&
            decodeKeptRound(bytes, round.details, round.hasDetails, replay, round.wrong);
        if (round.readable)
            round.wrong.clear();
        Order order{0, ours ? named.number : 1, round.name};
        if (round.hasDetails) {
            order.when = round.details.playedAt;
        } else if (ours) {
            order.when = named.playedAt;
        } else {
            const auto changed = fs::last_write_time(round.path, kindError);
            order.when = kindError
                             ? 0
                             : std::chrono::duration_cast<std::chrono::seconds>(
                                   std::chrono::file_clock::to_sys(changed).time_since_epoch())
                                   .count();
        }
        if (!round.hasDetails)
            round.details.playedAt = order.when;
        found.emplace_back(order, std::move(round));
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return newerFirst(a.first, b.first); });
    std::vector<KeptRound> rounds;
    rounds.reserve(found.size());
    for (auto& [order, round] : found)
        rounds.push_back(std::move(round));
    return rounds;
}

bool KeptRounds::load(const KeptRound& round, Replay& replay, std::string& message) const {
    std::string bytes, wrong;
    RoundDetails details;
    bool hasDetails = false;
    if (!readBytes(round.path, bytes, wrong) ||
        !decodeKeptRound(bytes, details, hasDetails, replay, wrong)) {
        message = "kept round '" + round.path + "': " + wrong;
        return false;
    }
    return true;
}

bool KeptRounds::remove(const KeptRound& round, std::string& message) {
    if (std::remove(round.path.c_str()) != 0) {
        message =
            "kept round '" + round.path + "': cannot be removed (" + std::strerror(errno) + ")";
        return false;
    }
    return true;
}

bool KeptRounds::keepForever(KeptRound& round, bool forever, std::string& message) {
    RoundName named;
    if (!readRoundName(round.name, named)) {
        message = "'" + round.path + "' is no round the game kept, and is never removed by it";
        return false;
    }
    if (named.forever == forever) {
        round.forever = forever;
        return true;
    }
    const std::string name = named.stem + (forever ? foreverEnding : roundEnding);
    const std::string path = where + "/" + name;
    // A link, not a rename, so that a round of the other name is never replaced.
    if (::link(round.path.c_str(), path.c_str()) != 0 || ::unlink(round.path.c_str()) != 0) {
        message = "kept round '" + round.path + "': cannot be " +
                  (forever ? "marked" : "unmarked") + " (" + std::strerror(errno) + ")";
        return false;
    }
    round.path = path;
    round.name = name;
    round.forever = forever;
    return true;
}

void KeptRounds::prune() {
    size_t kept = 0;
    for (const KeptRound& round : list()) {
        RoundName named;
        // Only the game's own rounds count; a file the player put here is theirs.
        if (!readRoundName(round.name, named) || named.forever)
            continue;
        if (++kept > newest)
            std::remove(round.path.c_str());
    }
}
