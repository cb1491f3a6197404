// Every round kept: written whole under its date and time, listed newest first with who played
// and how it ended, pruned to the newest few but those kept forever, and a file that cannot be
// watched listed with its reason instead of stopping the list.
#include "record/KeptRounds.h"
#include "record/RoundDetails.h"
#include "record/Replay.h"
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {
// 2026-12-09 09:31:57 UTC.
constexpr int64_t ninePastNine = 1796808717;

struct TemporaryFolder {
    TemporaryFolder() {
        std::string name = (fs::temp_directory_path() / "kept-rounds-XXXXXX").string();
        path = mkdtemp(name.data());
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    std::string path;
};

Replay someRound(uint32_t seed) {
    Replay r;
    r.seed = seed;
    for (uint16_t t = 0; t < 300; ++t)
        r.keys.push_back(static_cast<uint16_t>((t * seed) & 0x7FFF));
    r.finalHash = 0x0123456789ABCDEFull ^ seed;
    r.steeringHelp = seed % 2;
    return r;
}

RoundDetails playedAt(int64_t when) {
    RoundDetails d;
    d.playedAt = when;
    d.points[0] = 12;
    d.points[1] = 31;
    return d;
}

// A file the game did not name is placed by its time of change: these are dated long before the
// rounds of the tests.
void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(24 * 365 * 3));
}

std::vector<std::string> namesOf(const std::vector<KeptRound>& rounds) {
    std::vector<std::string> names;
    for (const KeptRound& r : rounds)
        names.push_back(r.name);
    return names;
}

std::string refusal(const std::string& bytes) {
    RoundDetails details;
    bool hasDetails = false;
    Replay replay;
    std::string wrong;
    EXPECT_FALSE(decodeKeptRound(bytes, details, hasDetails, replay, wrong));
    return wrong;
}

void putAt(std::string& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}
} // namespace

TEST(KeptRounds, ARoundIsKeptAndListedBackWithWhoPlayedAndHowItEnded) {
    TemporaryFolder home;
    // The folder is made when the first round is kept.
    KeptRounds rounds(home.path + "/tuvo/rounds");
    EXPECT_TRUE(rounds.list().empty());

    RoundDetails details;
    details.playedAt = ninePastNine;
    details.players[0] = SidePlayer::person;
    details.players[1] = SidePlayer::computer;
    details.computerLevel[1] = 2;
    details.points[0] = 7;
    details.points[1] = 25;
    details.leftEarly = true;
    details.clockLeft = 4 * 60 + 12;
    const Replay played = someRound(2026);
    std::string message;
    const std::string path = rounds.keep(details, played, message);
    ASSERT_FALSE(path.empty()) << message;
    EXPECT_EQ(path, home.path + "/tuvo/rounds/2026-12-09_09-31-57.round");

    const std::vector<KeptRound> listed = rounds.list();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_TRUE(listed[0].readable) << listed[0].wrong;
    EXPECT_TRUE(listed[0].hasDetails);
    EXPECT_FALSE(listed[0].forever);
    EXPECT_EQ(listed[0].details, details);
    EXPECT_EQ(playedAtText(listed[0].details.playedAt), "2026-12-09 09:31");

    Replay loaded;
    ASSERT_TRUE(rounds.load(listed[0], loaded, message)) << message;
    EXPECT_EQ(loaded.seed, played.seed);
    EXPECT_EQ(loaded.keys, played.keys);
    EXPECT_EQ(loaded.finalHash, played.finalHash);
    EXPECT_EQ(loaded.steeringHelp, played.steeringHelp);

    // An online round played to 0:00 keeps no clock.
    details.players[0] = SidePlayer::online;
    details.players[1] = SidePlayer::person;
    details.computerLevel[1] = 0;
    details.leftEarly = false;
    details.clockLeft = 0;
    details.playedAt += 400;
    ASSERT_FALSE(rounds.keep(details, played, message).empty()) << message;
    EXPECT_EQ(rounds.list()[0].details, details);

    // A plain recording made with --record and put in the folder plays as well, its players
    // unknown.
    ASSERT_TRUE(writeReplayFile(rounds.folder() + "/by-hand.rec", played, message)) << message;
    const std::vector<KeptRound> all = rounds.list();
    ASSERT_EQ(all.size(), 3u);
    for (const KeptRound& r : all)
        if (r.name == "by-hand.rec") {
            EXPECT_TRUE(r.readable) << r.wrong;
            EXPECT_FALSE(r.hasDetails);
            ASSERT_TRUE(rounds.load(r, loaded, message)) << message;
            EXPECT_EQ(loaded.keys, played.keys);
        }
}

TEST(KeptRounds, NewestFirstWithRoundsOfOneSecondApartAndNothingHalfWritten) {
    TemporaryFolder home;
    KeptRounds rounds(home.path);
    std::string message;
    for (int64_t when : {1000, 3000, 2000, 3000, 3000})
        ASSERT_FALSE(rounds.keep(playedAt(ninePastNine + when), someRound(1), message).empty())
            << message;
    // 09:31:57 + 1000 s = 09:48:37, + 2000 s = 10:05:17, + 3000 s = 10:21:57.
    EXPECT_EQ(namesOf(rounds.list()),
              (std::vector<std::string>{"2026-12-09_10-21-57_3.round",
                                        "2026-12-09_10-21-57_2.round", "2026-12-09_10-21-57.round",
                                        "2026-12-09_10-05-17.round", "2026-12-09_09-48-37.round"}));
    for (const auto& file : fs::directory_iterator(home.path))
        EXPECT_EQ(file.path().extension(), ".round") << file.path();

    // A kept-forever round holds its second's name too: the next round of that second passes it.
    std::vector<KeptRound> listed = rounds.list();
    ASSERT_TRUE(rounds.keepForever(listed[0], true, message)) << message;
    EXPECT_EQ(listed[0].name, "2026-12-09_10-21-57_3.forever.round");
    const std::string next = rounds.keep(playedAt(ninePastNine + 3000), someRound(1), message);
    EXPECT_EQ(fs::path(next).filename(), "2026-12-09_10-21-57_4.round");
}

TEST(KeptRounds, PruningKeepsTheNewestAndThoseMarkedForever) {
    TemporaryFolder home;
    KeptRounds rounds(home.path, 3);
    std::string message;
    // A file the player put here is theirs: never pruned.
    writeFile(home.path + "/notes.txt", "my best rounds\n");
    ASSERT_FALSE(rounds.keep(playedAt(ninePastNine), someRound(1), message).empty());
    KeptRound first = rounds.list()[0];
    ASSERT_TRUE(rounds.keepForever(first, true, message)) << message;
    EXPECT_TRUE(first.forever);
    for (int minute = 1; minute <= 5; ++minute)
        ASSERT_FALSE(
            rounds.keep(playedAt(ninePastNine + 60 * minute), someRound(minute), message).empty());

    std::vector<std::string> names = namesOf(rounds.list());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{
                         "2026-12-09_09-31-57.forever.round", "2026-12-09_09-34-57.round",
                         "2026-12-09_09-35-57.round", "2026-12-09_09-36-57.round", "notes.txt"}));
    for (const KeptRound& r : rounds.list())
        EXPECT_EQ(r.forever, r.name == "2026-12-09_09-31-57.forever.round") << r.name;

    // Unmarked, the oldest round goes with the next one kept; a removed round is gone.
    const std::vector<KeptRound> marked = rounds.list();
    const auto forever =
        std::find_if(marked.begin(), marked.end(), [](const KeptRound& r) { return r.forever; });
    ASSERT_NE(forever, marked.end());
    first = *forever;
    ASSERT_TRUE(rounds.keepForever(first, false, message)) << message;
    EXPECT_EQ(first.name, "2026-12-09_09-31-57.round");
    ASSERT_FALSE(rounds.keep(playedAt(ninePastNine + 600), someRound(9), message).empty());
    const std::vector<KeptRound> listed = rounds.list();
    names = namesOf(listed);
    EXPECT_EQ(names,
              (std::vector<std::string>{"2026-12-09_09-41-57.round", "2026-12-09_09-36-57.round",
                                        "2026-12-09_09-35-57.round", "notes.txt"}));
    ASSERT_TRUE(rounds.remove(listed[1], message)) << message;
    EXPECT_EQ(rounds.list().size(), 3u);
    KeptRound notes = listed.back();
    ASSERT_EQ(notes.name, "notes.txt");
    EXPECT_FALSE(rounds.keepForever(notes, true, message));
}

TEST(KeptRounds, FilesThatCannotBeWatchedAreListedWithTheirReason) {
    TemporaryFolder home;
    KeptRounds rounds(home.path);
    std::string message;
    const std::string good = rounds.keep(playedAt(ninePastNine), someRound(3), message);
    ASSERT_FALSE(good.empty()) << message;
    std::string bytes;
    {
        std::ifstream in(good, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    writeFile(home.path + "/2026-12-09_08-00-00.round", bytes.substr(0, bytes.size() / 2));
    std::string flipped = bytes;
    flipped[20] ^= 0x40; // inside the details
    writeFile(home.path + "/2026-12-09_08-00-01.round", flipped);
    writeFile(home.path + "/readme.txt", "these are my rounds\n");
    writeFile(home.path + "/picture.bmp",
              std::string("BM\x36\x00\x0c\x00", 6) + std::string(60, '\0'));
    // A round kept by the version whose recordings were format 4: the recording starts after
    // the 16 bytes of the details' head, 23 of details and 4 of checksum; its version follows
    // its 8-byte signature.
    std::string older = bytes;
    older[43 + 8] = 4;
    writeFile(home.path + "/2026-12-09_08-00-02.round", older);
    std::string olderPlain = encodeReplay(someRound(4));
    olderPlain[8] = 4;
    writeFile(home.path + "/old.rec", olderPlain);
    fs::create_directory(home.path + "/a folder");

    const std::string older4 =
        "made by another version of TUVO!! (replay format 4, this game reads 5)";
    const std::map<std::string, std::string> expectedReason = {
        {"2026-12-09_08-00-00.round", "truncated"},
        {"2026-12-09_08-00-01.round", "damaged"},
        {"readme.txt", "not a TUVO!!"},
        {"picture.bmp", "not a TUVO!!"},
        {"2026-12-09_08-00-02.round", older4},
        {"old.rec", older4}};
    const std::vector<KeptRound> listed = rounds.list();
    ASSERT_EQ(listed.size(), 7u) << testing::PrintToString(namesOf(listed));
    EXPECT_EQ(listed[0].path, good);
    for (const KeptRound& r : listed) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(r.readable, r.path == good) << r.wrong;
        EXPECT_EQ(r.wrong.empty(), r.path == good);
        Replay replay;
        EXPECT_EQ(rounds.load(r, replay, message), r.path == good);
        if (r.path != good) {
            ASSERT_TRUE(expectedReason.count(r.name));
            EXPECT_NE(r.wrong.find(expectedReason.at(r.name)), std::string::npos) << r.wrong;
        }
    }
    // The older round's own details are still shown.
    for (const KeptRound& r : listed)
        if (r.name == "2026-12-09_08-00-02.round") {
            EXPECT_TRUE(r.hasDetails);
            EXPECT_EQ(r.details, playedAt(ninePastNine));
        }
}

TEST(KeptRounds, DetailsThatLieAboutTheirSizeOrValuesAreRefused) {
    const std::string good = encodeKeptRound(playedAt(ninePastNine), someRound(5));
    // Head: signature (8), details format (4) at 8, details' length (4) at 12.
    for (uint32_t length : {0u, 22u, 24u, 4096u, 0xFFFFFFFFu}) {
        std::string lying = good;
        putAt(lying, 12, length);
        EXPECT_NE(refusal(lying).find("damaged"), std::string::npos) << length;
    }
    std::string newer = good;
    putAt(newer, 8, 2);
    EXPECT_EQ(refusal(newer),
              "made by another version of TUVO!! (round details format 2, this game reads 1)");
    for (size_t cut : {size_t{10}, size_t{15}, size_t{30}, size_t{42}})
        EXPECT_NE(refusal(good.substr(0, cut)).find("truncated"), std::string::npos) << cut;
    // Bytes after the recording, or a recording cut short, are the recording's to refuse.
    EXPECT_NE(refusal(good + "x").find("follow the end"), std::string::npos);
    EXPECT_NE(refusal(good.substr(0, good.size() - 1)).find("truncated"), std::string::npos);

    // Values no round can have, written with a checksum that matches them.
    RoundDetails odd = playedAt(ninePastNine);
    odd.players[1] = static_cast<SidePlayer>(3);
    EXPECT_NE(refusal(encodeKeptRound(odd, someRound(5))).find("kind of player"),
              std::string::npos);
    odd = playedAt(ninePastNine);
    odd.players[0] = SidePlayer::computer;
    odd.computerLevel[0] = computerLevelLimit;
    EXPECT_NE(refusal(encodeKeptRound(odd, someRound(5))).find("level"), std::string::npos);
    odd = playedAt(ninePastNine);
    odd.leftEarly = true;
    odd.clockLeft = 361;
    EXPECT_NE(refusal(encodeKeptRound(odd, someRound(5))).find("end no round"), std::string::npos);
}

TEST(KeptRounds, TheFolderIsInThePlayersData) {
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const std::string dataWas = data ? data : "", homeWas = home ? home : "";
    setenv("XDG_DATA_HOME", "/tmp/somewhere", 1);
    setenv("HOME", "/home/player", 1);
    EXPECT_EQ(KeptRounds::defaultFolder(), "/tmp/somewhere/tuvo/rounds");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(KeptRounds::defaultFolder(), "/home/player/.local/share/tuvo/rounds");
    // A relative data folder is to be ignored, as the base directory rules say.
    setenv("XDG_DATA_HOME", "relative", 1);
    EXPECT_EQ(KeptRounds::defaultFolder(), "/home/player/.local/share/tuvo/rounds");
    data ? setenv("XDG_DATA_HOME", dataWas.c_str(), 1) : unsetenv("XDG_DATA_HOME");
    home ? setenv("HOME", homeWas.c_str(), 1) : unsetenv("HOME");
}
