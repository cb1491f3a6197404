#pragma once
#include "record/RoundDetails.h"
#include <cstddef>
#include <string>
#include <vector>

// One file of the rounds' folder, as the list shows it.
struct KeptRound {
    std::string path;
    std::string name;     // the file's name in the folder
    bool forever = false; // pruning never removes it
    bool readable = false;
    std::string wrong;       // why it cannot be watched, when it is not readable
    bool hasDetails = false; // false for a plain recording, whose players and points are unknown
    RoundDetails details;    // details.playedAt is the file's time for a round without details
};

// Every round played is kept in a folder of the player's data, the newest few of them, and those
// the player marked to keep forever.
class KeptRounds {
  public:
    explicit KeptRounds(std::string folder, size_t keepNewest = 100);

    // $XDG_DATA_HOME/tuvo/rounds, else ~/.local/share/tuvo/rounds; empty when neither is set.
    static std::string defaultFolder();

    const std::string& folder() const { return where; }

    // Writes the round under a name made of when it was played (made unique with a number when
    // another round has that second already), whole or not at all, then removes the oldest
    // rounds past the newest `keepNewest` but those kept forever. Makes the folder if missing.
    // Answers the new round's path, or an empty string with `message` saying what went wrong.
    std::string keep(const RoundDetails& details, const Replay& replay, std::string& message);

    // Every file of the folder, newest first; a file that cannot be watched is listed with its
    // reason. A missing folder is an empty list.
    std::vector<KeptRound> list() const;

    bool load(const KeptRound& round, Replay& replay, std::string& message) const;
    bool remove(const KeptRound& round, std::string& message);
    // Marks the round to keep forever or takes the mark away; `round` follows the file's name.
    bool keepForever(KeptRound& round, bool forever, std::string& message);

  private:
    void prune();

    std::string where;
    size_t newest;
};
