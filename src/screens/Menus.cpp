#include "screens/Menus.h"
#include "screens/ScreenState.h"
#include "screens/Menu.h"
#include <algorithm>
#include <cctype>
#include <cmath>

namespace {
using platform::MenuKey;

constexpr const char* actionNames[playerKeyCount] = {"FORWARD", "BACK", "TRAP", "WALL",
                                                     "RIGHT",   "LEFT", "BOMB"};

// Keys the game keeps for itself in a round.
struct Reserved {
    const char* key;
    const char* use;
};
constexpr Reserved reservedKeys[] = {{"P", "PAUSE"}, {"0", "SHADOWS"}, {"F11", "FULL SCREEN"}};

std::string upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

int rowPlayer(int row) {
    return (row - rowFirstKey) / playerKeyCount;
}

PlayerKey rowAction(int row) {
    return keysListed[(row - rowFirstKey) % playerKeyCount];
}

std::string playerKeyLine(int row) {
    return "PLAYER " + std::to_string(rowPlayer(row) + 1) + ": " + actionNames[rowAction(row)];
}

// The render scale's choices in the order the options step through them.
constexpr int renderScaleChoices[] = {renderScaleAuto, 100, 85, 70, 50};
constexpr int renderScaleChoiceCount = 5;

std::string renderScaleText(int percent) {
    return percent == renderScaleAuto ? "AUTO" : std::to_string(percent) + " %";
}

int stepped(int focus, int by, int count) {
    return ((focus + by) % count + count) % count;
}

// A volume one step up or down, within 0 to 10.
void adjust(int& level, int by) {
    level = std::clamp(level + by, 0, loudest);
}

// Left, right and press on a row; `by` is -1, +1, or 0 for a press.
MenuOutcome pressRow(MenuState& m, Settings& s, int row, int by, bool fullscreen, bool shadows) {
    MenuOutcome out;
    switch (row) {
    case rowMusic:
    case rowEffects: {
        int& level = row == rowMusic ? s.musicVolume : s.effectsVolume;
        const int before = level;
        // A press alone goes up and round to silence again, so one button reaches every step.
        if (by == 0)
            level = level == loudest ? 0 : level + 1;
        else
            adjust(level, by);
        out.settingsChanged = level != before;
        break;
    }
    case rowFullscreen:
        s.fullscreen = !fullscreen;
        out.fullscreen = true;
        out.settingsChanged = true;
        break;
    case rowShadows:
        s.shadows = !shadows;
        out.shadows = true;
        out.settingsChanged = true;
        break;
    case rowRenderScale: {
        int at = 0;
        while (at < renderScaleChoiceCount - 1 && renderScaleChoices[at] != s.renderScale)
            ++at;
        // Left and right stop at the ends; a press alone goes on and round to AUTO again.
        const int next = by == 0 ? (at + 1) % renderScaleChoiceCount
                                 : std::clamp(at + by, 0, renderScaleChoiceCount - 1);
        out.settingsChanged = renderScaleChoices[next] != s.renderScale;
        s.renderScale = renderScaleChoices[next];
        break;
    }
    case rowSteering:
        s.steeringHelp = !s.steeringHelp;
        out.settingsChanged = true;
        break;
    case rowAlwaysRelay:
        s.alwaysRelay = !s.alwaysRelay;
        out.settingsChanged = true;
        break;
    case rowResetKeys:
        if (by != 0)
            break;
        for (int p = 0; p < 2; ++p)
            for (int k = 0; k < playerKeyCount; ++k)
                s.keys[p][k] = defaultSettings().keys[p][k];
        m.notice = "THE KEYS ARE AS AT FIRST";
        out.settingsChanged = true;
        break;
    case rowBack:
        if (by == 0)
            m.optionsShown = false;
        break;
    default:
        if (by == 0 && row >= rowFirstKey && row < rowResetKeys) {
            m.rebinding = row;
            m.notice = "PRESS A KEY FOR " + playerKeyLine(row);
        }
        break;
    }
    return out;
}
} // namespace

int optionsKeyRow(int player, PlayerKey key) {
    int listed = 0;
    while (listed < playerKeyCount - 1 && keysListed[listed] != key)
        ++listed;
    return rowFirstKey + (player - 1) * playerKeyCount + listed;
}

const char* actionName(int key) {
    return key >= 0 && key < playerKeyCount ? actionNames[key] : "";
}

MenuPanel optionsPanel(const MenuState& m, const Settings& s, bool fullscreen, bool shadows) {
    MenuPanel p;
    p.title = "OPTIONS";
    p.focus = m.optionsFocus;
    p.notice = m.notice;
    p.rows.resize(optionsRowCount);
    p.rows[rowMusic] = {"MUSIC VOLUME", std::to_string(s.musicVolume)};
    p.rows[rowEffects] = {"EFFECTS VOLUME", std::to_string(s.effectsVolume)};
    p.rows[rowFullscreen] = {"FULL SCREEN", fullscreen ? "ON" : "OFF"};
    p.rows[rowShadows] = {"SHADOWS", shadows ? "ON" : "OFF"};
    p.rows[rowRenderScale] = {"RENDER SCALE", renderScaleText(s.renderScale)};
    p.rows[rowSteering] = {"STEERING HELP", s.steeringHelp ? "ON" : "OFF"};
    p.rows[rowAlwaysRelay] = {"ALWAYS RELAY", s.alwaysRelay ? "ON" : "OFF"};
    for (int row : {rowMusic, rowEffects, rowFullscreen, rowShadows, rowRenderScale, rowSteering,
                    rowAlwaysRelay})
        p.rows[row].adjustable = true;
    for (int row = rowFirstKey; row < rowResetKeys; ++row)
        p.rows[row] = {playerKeyLine(row),
                       m.rebinding == row ? "..." : upper(s.keys[rowPlayer(row)][rowAction(row)])};
    p.rows[rowResetKeys] = {"RESET KEYS", ""};
    p.rows[rowBack] = {"BACK", ""};
    return p;
}

MenuPanel pausePanel(const MenuState& m) {
    MenuPanel p;
    p.title = "PAUSED";
    p.rows = {{"CONTINUE", ""}, {"OPTIONS", ""}, {"END ROUND", ""}};
    p.focus = m.pauseFocus;
    p.left = 392;
    p.right = 632;
    p.top = 200;
    p.rowHeight = 28;
    p.withValues = false;
    return p;
}

MenuOutcome optionsKey(MenuState& m, Settings& s, MenuKey key, bool fullscreen, bool shadows) {
    if (m.rebinding >= 0) {
        // A pad's B cancels as Esc does; other pad buttons wait for a key.
        if (key == MenuKey::back) {
            m.rebinding = -1;
            m.notice.clear();
        }
        return {};
    }
    switch (key) {
    case MenuKey::up:
    case MenuKey::previous:
        m.optionsFocus = stepped(m.optionsFocus, -1, optionsRowCount);
        m.notice.clear();
        return {};
    case MenuKey::down:
    case MenuKey::next:
        m.optionsFocus = stepped(m.optionsFocus, 1, optionsRowCount);
        m.notice.clear();
        return {};
    case MenuKey::left:
    case MenuKey::right:
        if (m.optionsFocus == rowFullscreen || m.optionsFocus == rowShadows ||
            m.optionsFocus == rowRenderScale || m.optionsFocus == rowSteering ||
            m.optionsFocus == rowAlwaysRelay || m.optionsFocus == rowMusic ||
            m.optionsFocus == rowEffects)
            return pressRow(m, s, m.optionsFocus, key == MenuKey::left ? -1 : 1, fullscreen,
                            shadows);
        return {};
    case MenuKey::press:
        return pressRow(m, s, m.optionsFocus, 0, fullscreen, shadows);
    case MenuKey::back:
        m.optionsShown = false;
        return {};
    }
    return {};
}

MenuOutcome optionsCaptured(MenuState& m, Settings& s, const std::string& key) {
    MenuOutcome out;
    if (m.rebinding < 0 || key.empty())
        return out;
    const int row = m.rebinding;
    m.rebinding = -1;
    if (key == "Escape") {
        m.notice.clear();
        return out;
    }
    const int player = rowPlayer(row);
    const int action = rowAction(row);
    for (const Reserved& r : reservedKeys)
        if (key == r.key) {
            m.notice = upper(key) + " IS THE GAME'S " + r.use + " KEY";
            return out;
        }
    for (int p = 0; p < 2; ++p)
        for (int k = 0; k < playerKeyCount; ++k)
            if ((p != player || k != action) && s.keys[p][k] == key) {
                m.notice = upper(key) + " IS ALREADY PLAYER " + std::to_string(p + 1) + "'S " +
                           actionNames[k];
                return out;
            }
    m.notice.clear();
    out.settingsChanged = s.keys[player][action] != key;
    s.keys[player][action] = key;
    return out;
}

MenuOutcome optionsPointer(MenuState& m, Settings& s, int x, int y, bool press, bool fullscreen,
                           bool shadows) {
    if (m.rebinding >= 0)
        return {};
    const MenuPanel panel = optionsPanel(m, s, fullscreen, shadows);
    const int row = panel.rowAt(x, y);
    if (row < 0)
        return {};
    m.optionsFocus = row;
    if (!press)
        return {};
    int by = 0;
    if (row == rowMusic || row == rowEffects || row == rowRenderScale)
        by = x < panel.valueMiddle() ? -1 : 1;
    return pressRow(m, s, row, by, fullscreen, shadows);
}

namespace {
// The title entry the arrow `key` leads to from entry `from`: the nearest shown entry that way,
// rows before columns (Up and Down go to the row above or below, the nearest across it; Left
// and Right stay in the row). Past the last row Up and Down go round; a row's end stays put.
int titleNeighbour(const ScreenState& g, int from, MenuKey key) {
    const MenuArea& a = titleEntries[from].area;
    const float ax = (a.left + a.right) / 2, ay = (a.bottom + a.top) / 2;
    const bool vertical = key == MenuKey::up || key == MenuKey::down;
    const float sign = key == MenuKey::up || key == MenuKey::right ? 1.0f : -1.0f;
    int best = -1, farthest = -1;
    float bestCost = 0, farthestAway = 0;
    for (int n = 0; n < titleEntryCount; ++n) {
        if (n == from || !titleEntryShown(g, n))
            continue;
        const MenuArea& b = titleEntries[n].area;
        const float dx = (b.left + b.right) / 2 - ax, dy = (b.bottom + b.top) / 2 - ay;
        const bool sameRow = b.bottom < a.top && b.top > a.bottom;
        const float along = vertical ? dy * sign : dx * sign;
        const float across = vertical ? std::fabs(dx) : std::fabs(dy);
        if (vertical == sameRow)
            continue;
        if (along > 0 && (best < 0 || along + across < bestCost)) {
            best = n;
            bestCost = along + across;
        }
        if (vertical && along < 0 && (farthest < 0 || -along - across > farthestAway)) {
            farthest = n;
            farthestAway = -along - across;
        }
    }
    return best >= 0 ? best : farthest >= 0 ? farthest : from;
}
} // namespace

void titleKey(ScreenState& g, MenuKey key) {
    MenuState& m = g.menus;
    if (g.helpShown) {
        // HELP has one button, BACK.
        if (key == MenuKey::press || key == MenuKey::back)
            g.helpShown = 0;
        return;
    }
    switch (key) {
    case MenuKey::left:
    case MenuKey::right:
        // On the opponent line Left and Right step the choice, as a press does.
        if (titleEntries[m.titleFocus].action == TitleAction::opponent) {
            pressTitle(g, TitleAction::opponent);
            break;
        }
        m.titleFocus = titleNeighbour(g, m.titleFocus, key);
        break;
    case MenuKey::up:
    case MenuKey::down:
        m.titleFocus = titleNeighbour(g, m.titleFocus, key);
        break;
    case MenuKey::previous:
    case MenuKey::next: {
        const int by = key == MenuKey::previous ? -1 : 1;
        do
            m.titleFocus = stepped(m.titleFocus, by, titleEntryCount);
        while (!titleEntryShown(g, m.titleFocus));
        break;
    }
    case MenuKey::press:
        pressTitle(g, titleEntries[m.titleFocus].action);
        break;
    case MenuKey::back:
        break;
    }
}

MenuOutcome pauseKey(MenuState& m, MenuKey key) {
    MenuOutcome out;
    switch (key) {
    case MenuKey::up:
    case MenuKey::left:
    case MenuKey::previous:
        m.pauseFocus = stepped(m.pauseFocus, -1, pauseRowCount);
        break;
    case MenuKey::down:
    case MenuKey::right:
    case MenuKey::next:
        m.pauseFocus = stepped(m.pauseFocus, 1, pauseRowCount);
        break;
    case MenuKey::back:
        out.continueRound = true;
        break;
    case MenuKey::press:
        if (m.pauseFocus == pauseContinue)
            out.continueRound = true;
        else if (m.pauseFocus == pauseOptions)
            m.openOptions();
        else
            out.endRound = true;
        break;
    }
    return out;
}

MenuOutcome pausePointer(MenuState& m, int x, int y, bool press) {
    const int row = pausePanel(m).rowAt(x, y);
    if (row < 0)
        return {};
    m.pauseFocus = row;
    return press ? pauseKey(m, MenuKey::press) : MenuOutcome{};
}

MenuPanel resultPanel(const MenuState& m) {
    MenuPanel p;
    p.title = "NEXT";
    p.rows = {{"PLAY AGAIN", ""}, {"TITLE", ""}};
    p.focus = m.resultFocus;
    p.left = 392;
    p.right = 632;
    p.top = 420;
    p.rowHeight = 28;
    p.withValues = false;
    return p;
}

MenuOutcome resultKey(MenuState& m, MenuKey key) {
    MenuOutcome out;
    switch (key) {
    case MenuKey::up:
    case MenuKey::left:
    case MenuKey::previous:
    case MenuKey::down:
    case MenuKey::right:
    case MenuKey::next:
        m.resultFocus = stepped(m.resultFocus, 1, resultRowCount);
        break;
    case MenuKey::back:
        break;
    case MenuKey::press:
        out.playAgain = m.resultFocus == resultPlayAgain;
        out.endRound = m.resultFocus == resultTitle;
        break;
    }
    return out;
}

MenuOutcome resultPointer(MenuState& m, int x, int y, bool press) {
    const int row = resultPanel(m).rowAt(x, y);
    if (row < 0)
        return {};
    m.resultFocus = row;
    return press ? resultKey(m, MenuKey::press) : MenuOutcome{};
}

std::vector<MenuView::HelpKey> helpKeys(const Settings& s, int player) {
    std::vector<MenuView::HelpKey> lines;
    for (PlayerKey k : keysListed) {
        std::string action = actionNames[k];
        for (size_t i = 1; i < action.size(); ++i)
            action[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(action[i])));
        lines.push_back({action, s.keys[player - 1][k]});
    }
    return lines;
}
