#include "app/Match.h"
#include "bots/Bot.h"
#include "bots/RandomKeys.h"
#include "rules/RoundState.h"
#include "rules/RoundTick.h"
#include <algorithm>
#include <atomic>
#include <ctime>
#include <memory>
#include <thread>
#include <vector>

namespace {
struct SideResult {
    int32_t points = 0, ownBombs = 0, otherBombs = 0, creatures = 0, cheese = 0;
};

struct RoundResult {
    uint32_t seed = 0;
    bool swapped = false; // side 0 played player 2
    SideResult side[2];
};

// One side's player: a computer player, or random keys.
struct Side {
    std::unique_ptr<Bot> bot;
    std::unique_ptr<RandomKeys> keys;
    void press(const RoundState& round, KeyState& k) {
        if (bot)
            bot->press(round, k);
        else
            keys->press(k);
    }
};

Side makeSide(const std::string& name, uint32_t seed, int32_t number) {
    Side s;
    BotLevel level;
    if (readBotLevel(name, level))
        s.bot = std::make_unique<Bot>(level, seed, number);
    else
        s.keys = std::make_unique<RandomKeys>(seed, number);
    return s;
}

// Thinking times of one side, in microseconds.
using Times = std::vector<float>;

// The CPU time this thread has used, in microseconds: on a machine shared with other work a
// wall clock would count the time the thread waited for a core.
double threadMicroseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

RoundResult playRound(const MatchOptions& o, int32_t index, Times (&times)[2]) {
    RoundResult r;
    r.seed = o.seed + static_cast<uint32_t>(index);
    r.swapped = index % 2 == 1;
    RoundState round(r.seed);
    setUpRound(round);
    Side players[2];
    for (int s = 0; s < 2; ++s)
        players[s] = makeSide(o.sides[s], r.seed, (s == 0) != r.swapped ? 1 : 2);
    while (!round.roundOver) {
        KeyState keys;
        for (int s = 0; s < 2; ++s) {
            const double start = threadMicroseconds();
            players[s].press(round, keys);
            times[s].push_back(static_cast<float>(threadMicroseconds() - start));
        }
        tickRound(round, keys);
    }
    for (int s = 0; s < 2; ++s) {
        const Player& p = round.player((s == 0) != r.swapped ? 1 : 2);
        r.side[s] = {p.points, p.tally.hitByOwn, p.tally.hitByOther, p.tally.caught, p.cheese};
    }
    return r;
}

float percentile(std::vector<float>& v, double share) {
    if (v.empty())
        return 0;
    const size_t i =
        std::min(v.size() - 1, static_cast<size_t>(share * static_cast<double>(v.size())));
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(i), v.end());
    return v[i];
}
} // namespace

bool isMatchSide(const std::string& name) {
    BotLevel level;
    return name == "random" || readBotLevel(name, level);
}

int playMatch(const MatchOptions& o, std::FILE* out) {
    std::vector<RoundResult> results(static_cast<size_t>(o.rounds));
    std::atomic<int32_t> next{0};
    const unsigned workers = std::max(1u, std::min(2u, std::thread::hardware_concurrency()));
    std::vector<Times> times(2 * workers);
    auto work = [&](unsigned w) {
        Times mine[2];
        for (int32_t i = next++; i < o.rounds; i = next++)
            results[static_cast<size_t>(i)] = playRound(o, i, mine);
        times[2 * w] = std::move(mine[0]);
        times[2 * w + 1] = std::move(mine[1]);
    };
    std::vector<std::thread> threads;
    for (unsigned w = 1; w < workers; ++w)
        threads.emplace_back(work, w);
    work(0);
    for (std::thread& t : threads)
        t.join();

    int32_t wins[2] = {}, draws = 0;
    SideResult sum[2];
    for (size_t i = 0; i < results.size(); ++i) {
        const RoundResult& r = results[i];
        const int a = r.side[0].points, b = r.side[1].points;
        std::fprintf(out, "round %zu (seed %u): %s as player %d %d, %s as player %d %d: %s\n",
                     i + 1, r.seed, o.sides[0].c_str(), r.swapped ? 2 : 1, a, o.sides[1].c_str(),
                     r.swapped ? 1 : 2, b,
                     a == b  ? "draw"
                     : a > b ? (o.sides[0] + " wins").c_str()
                             : (o.sides[1] + " wins").c_str());
        if (a == b)
            ++draws;
        else
            ++wins[a > b ? 0 : 1];
        for (int s = 0; s < 2; ++s) {
            sum[s].points += r.side[s].points;
            sum[s].ownBombs += r.side[s].ownBombs;
            sum[s].otherBombs += r.side[s].otherBombs;
            sum[s].creatures += r.side[s].creatures;
            sum[s].cheese += r.side[s].cheese;
        }
    }
    const double n = std::max(1, o.rounds);
    for (int s = 0; s < 2; ++s) {
        std::fprintf(out,
                     "%s (side %d): %d wins, %d draws, %d losses; %.1f points a round; caught "
                     "a round by its own bombs %.2f, by the other's %.2f, by creatures %.2f; "
                     "cheese delivered %.2f a round\n",
                     o.sides[s].c_str(), s + 1, wins[s], draws, wins[1 - s], sum[s].points / n,
                     sum[s].ownBombs / n, sum[s].otherBombs / n, sum[s].creatures / n,
                     sum[s].cheese / n);
        std::vector<float> all;
        for (unsigned w = 0; w < workers; ++w)
            all.insert(all.end(), times[2 * w + s].begin(), times[2 * w + s].end());
        double mean = 0;
        for (float t : all)
            mean += t;
        mean /= std::max<size_t>(1, all.size());
        const float p99 = percentile(all, 0.99), p999 = percentile(all, 0.999);
        const float most = all.empty() ? 0 : *std::max_element(all.begin(), all.end());
        std::fprintf(out,
                     "%s (side %d) thinking time a tick: mean %.1f us, 99th %.1f us, 99.9th "
                     "%.1f us, max %.1f us\n",
                     o.sides[s].c_str(), s + 1, mean, p99, p999, most);
    }
    std::fprintf(out, "%s %d wins, %s %d wins, %d draws\n", o.sides[0].c_str(), wins[0],
                 o.sides[1].c_str(), wins[1], draws);
    return 0;
}
