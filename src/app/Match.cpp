#include "app/Match.h"
#include "bots/Bot.h"
#include "bots/RandomKeys.h"
#include "rules/RoundState.h"
#include "rules/RoundTick.h"
#include "world/ArenaLayout.h"
#include <algorithm>
#include <atomic>
#include <cmath>
#include <ctime>
#include <deque>
#include <memory>
#include <thread>
#include <vector>

namespace {
// How a player's standing still looks to someone watching: the longest stretch it spent inside
// a box of stillBox by stillBox cells, the ticks spent in stretches longer than longStill, and
// how often it turned straight back.
constexpr uint32_t ticksPerSecond = tuning::ticksPerSecond;
constexpr uint32_t firstMinuteTicks = 60 * ticksPerSecond;
constexpr float stillBox = 1.2f;
constexpr uint32_t longStill = 5 * ticksPerSecond;

class Stillness {
  public:
    void add(float x, float y, const char* doing) {
        const uint32_t t = count++;
        push(lowX, t, x, true);
        push(highX, t, x, false);
        push(lowY, t, y, true);
        push(highY, t, y, false);
        doings.push_back(doing);
        while (front(highX) - front(lowX) > stillBox || front(highY) - front(lowY) > stillBox) {
            ++first;
            for (auto* d : {&lowX, &highX, &lowY, &highY})
                while (d->front().first < first)
                    d->pop_front();
        }
        const uint32_t length = t + 1 - first;
        if (length > longest) {
            longest = length;
            longestFrom = first;
        }
        if (length > longStill) {
            // Ticks first..t are in a long stretch; those before coveredTo are counted already.
            const uint32_t from = std::max(first, coveredTo);
            inLong += t + 1 - from;
            coveredTo = t + 1;
        }
        // A step straight back along the way just come, not a jump home or through a trap.
        const float dx = x - lastX, dy = y - lastY;
        if (count > 1 && std::fabs(dx) + std::fabs(dy) > 1e-4f &&
            std::fabs(dx) + std::fabs(dy) < 1) {
            if (dx * stepX + dy * stepY < 0)
                ++reversals;
            stepX = dx;
            stepY = dy;
        }
        lastX = x;
        lastY = y;
    }
    float longestSeconds() const { return static_cast<float>(longest) / ticksPerSecond; }
    float longSharePercent() const {
        return count ? 100.0f * static_cast<float>(inLong) / static_cast<float>(count) : 0;
    }
    float reversalsPerMinute() const {
        return count
                   ? static_cast<float>(reversals) * 60 * ticksPerSecond / static_cast<float>(count)
                   : 0;
    }
    uint32_t longestStart() const { return longestFrom; }
    const char* doingAt(uint32_t t) const { return t < doings.size() ? doings[t] : ""; }

  private:
    using Extremes = std::deque<std::pair<uint32_t, float>>;
    static void push(Extremes& d, uint32_t t, float v, bool low) {
        while (!d.empty() && (low ? d.back().second >= v : d.back().second <= v))
            d.pop_back();
        d.emplace_back(t, v);
    }
    static float front(const Extremes& d) { return d.front().second; }

    Extremes lowX, highX, lowY, highY;
    std::vector<const char*> doings;
    uint32_t count = 0, first = 0, longest = 0, longestFrom = 0, inLong = 0, coveredTo = 0;
    uint32_t reversals = 0;
    float lastX = 0, lastY = 0, stepX = 0, stepY = 0;
};

struct SideResult {
    int32_t points = 0, ownBombs = 0, otherBombs = 0, creatures = 0, cheese = 0;
    float longestStill = 0, longShare = 0, reversals = 0;
    // Times caught by creatures in the round's first minute.
    int32_t caughtFirstMinute = 0;
    // Where the longest stretch began: game seconds, the cell, and what the player was about.
    float stillFrom = 0;
    int32_t stillX = 0, stillY = 0;
    const char* stillDoing = "";
};

struct RoundResult {
    uint32_t seed = 0;
    bool swapped = false; // side 0 played player 2
    SideResult side[2];
    float lastScoreChange = 0; // game seconds
    int32_t obstaclesLeft = 0;
};

// One side's player: a computer player, a scripted rival, random keys, or nobody at the keys.
struct Side {
    std::unique_ptr<Bot> bot;
    std::unique_ptr<RandomKeys> keys;
    void press(const RoundState& round, KeyState& k) {
        if (bot)
            bot->press(round, k);
        else if (keys)
            keys->press(k);
    }
    const char* doing() const { return bot ? bot->doing() : ""; }
};

Side makeSide(const std::string& name, uint32_t seed, int32_t number) {
    Side s;
    BotLevel level;
    BotStyle rival;
    if (readBotLevel(name, level))
        s.bot = std::make_unique<Bot>(level, seed, number);
    else if (readRivalStyle(name, rival))
        s.bot = std::make_unique<Bot>(rival, seed, number);
    else if (name == "random")
        s.keys = std::make_unique<RandomKeys>(seed, number);
    return s;
}

int32_t obstaclesStanding(const RoundState& round) {
    int32_t n = 0;
    for (int32_t x = 0; x < BurnMap::side; ++x)
        for (int32_t y = 0; y < BurnMap::side; ++y)
            n += round.world.cell(x, y).hasObstacle ? 1 : 0;
    return n;
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
    Stillness still[2];
    std::vector<std::pair<int32_t, int32_t>> cells[2];
    int32_t points[2] = {0, 0};
    while (!round.roundOver) {
        KeyState keys;
        for (int s = 0; s < 2; ++s) {
            const double start = threadMicroseconds();
            players[s].press(round, keys);
            times[s].push_back(static_cast<float>(threadMicroseconds() - start));
        }
        tickRound(round, keys);
        for (int s = 0; s < 2; ++s) {
            const Player& p = round.player((s == 0) != r.swapped ? 1 : 2);
            still[s].add(p.x, p.y, players[s].doing());
            cells[s].emplace_back(static_cast<int32_t>(p.x), static_cast<int32_t>(p.y));
            if (round.ticks == firstMinuteTicks)
                r.side[s].caughtFirstMinute = p.tally.caught;
            if (p.points != points[s]) {
                points[s] = p.points;
                r.lastScoreChange = round.gameTime / 1000;
            }
        }
    }
    for (int s = 0; s < 2; ++s) {
        const Player& p = round.player((s == 0) != r.swapped ? 1 : 2);
        SideResult& side = r.side[s];
        const int32_t caughtFirstMinute = side.caughtFirstMinute;
        side = {p.points, p.tally.hitByOwn, p.tally.hitByOther, p.tally.caught, p.cheese};
        side.caughtFirstMinute = caughtFirstMinute;
        side.longestStill = still[s].longestSeconds();
        side.longShare = still[s].longSharePercent();
        side.reversals = still[s].reversalsPerMinute();
        const uint32_t from = still[s].longestStart();
        side.stillFrom = static_cast<float>(from) / ticksPerSecond;
        if (from < cells[s].size()) {
            side.stillX = cells[s][from].first;
            side.stillY = cells[s][from].second;
        }
        side.stillDoing = still[s].doingAt(from);
    }
    r.obstaclesLeft = obstaclesStanding(round);
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
    BotStyle rival;
    return name == "random" || name == "idle" || readBotLevel(name, level) ||
           readRivalStyle(name, rival);
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
    // Per side: the worst round for standing still, and the rounds with a stretch over 15 s.
    size_t worst[2] = {0, 0};
    int32_t over15[2] = {0, 0};
    int32_t caughtTwiceEarly[2] = {0, 0};
    std::vector<float> lastChanges;
    double obstaclesLeft = 0;
    int32_t bareRounds = 0;
    for (size_t i = 0; i < results.size(); ++i) {
        const RoundResult& r = results[i];
        const int a = r.side[0].points, b = r.side[1].points;
        std::fprintf(out,
                     "round %zu (seed %u): %s as player %d %d, %s as player %d %d: %s; the last "
                     "change of score at %.0f s\n",
                     i + 1, r.seed, o.sides[0].c_str(), r.swapped ? 2 : 1, a, o.sides[1].c_str(),
                     r.swapped ? 1 : 2, b,
                     a == b  ? "draw"
                     : a > b ? (o.sides[0] + " wins").c_str()
                             : (o.sides[1] + " wins").c_str(),
                     r.lastScoreChange);
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
            sum[s].longShare += r.side[s].longShare;
            sum[s].reversals += r.side[s].reversals;
            if (r.side[s].longestStill > results[worst[s]].side[s].longestStill)
                worst[s] = i;
            over15[s] += r.side[s].longestStill > 15 ? 1 : 0;
            caughtTwiceEarly[s] += r.side[s].caughtFirstMinute >= 2 ? 1 : 0;
        }
        lastChanges.push_back(r.lastScoreChange);
        obstaclesLeft += r.obstaclesLeft;
        bareRounds += r.obstaclesLeft == 0 && r.side[0].cheese + r.side[1].cheese == 5 ? 1 : 0;
    }
    const double n = std::max(1, o.rounds);
    for (int s = 0; s < 2; ++s) {
        std::fprintf(out,
                     "%s (side %d): %d wins, %d draws, %d losses; %.1f points a round; caught "
                     "a round by its own bombs %.2f, by the other's %.2f, by creatures %.2f; "
                     "cheese delivered %.2f a round; caught twice or more in the first minute in "
                     "%d rounds\n",
                     o.sides[s].c_str(), s + 1, wins[s], draws, wins[1 - s], sum[s].points / n,
                     sum[s].ownBombs / n, sum[s].otherBombs / n, sum[s].creatures / n,
                     sum[s].cheese / n, caughtTwiceEarly[s]);
        const SideResult& w = results[worst[s]].side[s];
        std::fprintf(out,
                     "%s (side %d) standing still: longest inside a %.1f-cell box %.1f s (round "
                     "%zu, from %d:%02d at cell %d, %d, %s), rounds with one over 15 s %d; %.1f "
                     "%% of a round in stretches over %u s; %.1f reversals a minute\n",
                     o.sides[s].c_str(), s + 1, stillBox, w.longestStill, worst[s] + 1,
                     static_cast<int>(w.stillFrom) / 60, static_cast<int>(w.stillFrom) % 60,
                     w.stillX, w.stillY, *w.stillDoing ? w.stillDoing : "-", over15[s],
                     sum[s].longShare / n, longStill / ticksPerSecond, sum[s].reversals / n);
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
    std::fprintf(out,
                 "the last change of score at %.0f s (median); obstacles left standing %.1f a "
                 "round; every obstacle opened and every cheese delivered in %d rounds\n",
                 percentile(lastChanges, 0.5), obstaclesLeft / n, bareRounds);
    std::fprintf(out, "%s %d wins, %s %d wins, %d draws\n", o.sides[0].c_str(), wins[0],
                 o.sides[1].c_str(), wins[1], draws);
    return 0;
}
