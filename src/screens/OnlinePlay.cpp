#include "screens/OnlinePlay.h"
#include "screens/Menu.h"
#include "lobby/LobbyServer.h"
#include "lobby/LocalLobby.h"
#include "lobby/RoomCode.h"
#include "net/NetPlay.h"
#include "net/NetSession.h"
#include "net/OnlineLink.h"
#include "platform/SteadyClock.h"
#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {
using platform::MenuKey;

// The host and join screens: four blank rows where the code shows large, a line of what is
// happening, then the two entries.
constexpr int codeRows = 4, statusRow = 4, goRow = 5, backRow = 6;
constexpr int codeBlock = 12; // frame pixels a block of the big letters
constexpr int codeWidth = roomCodeLength * 6 * codeBlock - codeBlock;

std::string upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The lobby could not be reached at all (as opposed to having said no).
// How long a guest with no lobby to ask looks for its code on this network.
constexpr uint64_t lookNearbyMs = 3000;

bool noLobby(const std::string& error) {
    return error.rfind("cannot reach the lobby", 0) == 0 ||
           error.rfind("no lobby called", 0) == 0 ||
           (error.rfind("the lobby at ", 0) == 0 &&
            error.find(" does not answer") != std::string::npos);
}

bool selectable(OnlinePlay::Screen screen, int row) {
    if (screen == OnlinePlay::Screen::choose)
        return row >= 0 && row < 3;
    return row == goRow || row == backRow;
}
} // namespace

OnlinePlay::OnlinePlay() = default;

OnlinePlay::~OnlinePlay() {
    giveUp();
}

void OnlinePlay::configure(const std::string& lobbyAddress, bool relayOnly) {
    lobby = lobbyAddress;
    alwaysRelay = relayOnly;
}

void OnlinePlay::giveUp() {
    const bool had = net != nullptr;
    net.reset();
    session.reset();
    link.reset();
    localLobby.reset();
    status.clear();
    if (had && left)
        left();
}

void OnlinePlay::host(RoundState& round) {
    giveUp();
    screen = Screen::host;
    focus = backRow;
    notice.clear();
    LobbyAddress at;
    if (!readLobbyAddress(lobby, 7720, at) || at.host.empty()) {
        notice = "THE LOBBY " + upper(lobby) + " IS NOT HOST:PORT";
        return;
    }
    std::string error;
    session = NetSession::host("127.0.0.1", 0, error);
    if (!session) {
        notice = upper(error);
        return;
    }
    hostAt(at.host, at.port);
    watch(round);
}

void OnlinePlay::hostAt(const std::string& lobbyHost, uint16_t lobbyPort) {
    OnlineOptions o;
    o.host = true;
    o.lobbyHost = lobbyHost;
    o.lobbyPort = lobbyPort;
    o.alwaysRelay = alwaysRelay;
    o.enetPort = session->port;
    link = std::make_unique<OnlineLink>(o);
}

void OnlinePlay::join(RoundState& round, const std::string& typed) {
    giveUp();
    screen = Screen::join;
    notice.clear();
    const std::string normal = normalRoomCode(typed);
    if (normal.empty()) {
        code = typed;
        code.resize(roomCodeLength, ' ');
        notice = "A CODE IS " + std::to_string(roomCodeLength) + " LETTERS AND DIGITS";
        return;
    }
    code = normal;
    cursor = roomCodeLength - 1;
    focus = goRow;
    LobbyAddress at;
    if (!readLobbyAddress(lobby, 7720, at) || at.host.empty()) {
        notice = "THE LOBBY " + upper(lobby) + " IS NOT HOST:PORT";
        return;
    }
    OnlineOptions o;
    o.host = false;
    o.code = normal;
    o.lobbyHost = at.host;
    o.lobbyPort = at.port;
    // A game waiting on this network is joined through its own lobby.
    joinedNearby = false;
    for (const LocalGame& g : nearby)
        if (g.code == normal)
            o.lobbyHost = g.address, o.lobbyPort = g.port, joinedNearby = true;
    o.alwaysRelay = alwaysRelay;
    link = std::make_unique<OnlineLink>(o);
    watch(round);
}

// Follows the link: its code, its path, or what went wrong.
void OnlinePlay::watch(RoundState& round) {
    if (!link)
        return;
    const OnlineLink::Status s = link->status();
    const bool hosting = screen == Screen::host;
    switch (s.stage) {
    case OnlineLink::Stage::lobby:
        status = hosting ? "ASKING THE LOBBY FOR A CODE..." : "ASKING THE LOBBY...";
        break;
    case OnlineLink::Stage::waiting:
        status = localLobby ? "NO LOBBY: PLAYER 2 JOINS ON THIS NETWORK" : "WAITING FOR PLAYER 2";
        break;
    case OnlineLink::Stage::connecting:
        status = hosting ? "PLAYER 2 IS COMING: FINDING A WAY..." : "FINDING A WAY TO PLAYER 1...";
        break;
    case OnlineLink::Stage::failed: {
        if (hosting && !localLobby && !net && noLobby(s.error)) {
            // No lobby to be had: one of our own, for this network.
            link.reset();
            localLobby = std::make_unique<LocalLobby>(askPort);
            if (localLobby->running()) {
                hostAt("127.0.0.1", localLobby->port());
                watch(round);
                return;
            }
        }
        if (!hosting && !net && !joinedNearby && noLobby(s.error)) {
            // No lobby to ask: perhaps the game is on this network.
            lookingWhy = upper(s.error);
            link.reset();
            status.clear();
            lookingSince = std::max<uint64_t>(steadyMs(), 1);
            notice = "LOOKING ON THIS NETWORK...";
            return;
        }
        const std::string why = upper(s.error);
        giveUp();
        notice = why;
        return;
    }
    case OnlineLink::Stage::connected:
        if (!session) {
            std::string error;
            session = NetSession::join("127.0.0.1", link->shimPort(), error);
            if (!session) {
                giveUp();
                notice = upper(error);
                return;
            }
        }
        if (!net) {
            // As a headless side says it, for scripts and for the curious.
            std::printf("path: %s\n", s.relayed ? "relayed" : "direct");
            std::fflush(stdout);
            net = std::make_unique<NetPlay>(*session, round);
            if (connected)
                connected(*net, *session);
        }
        status = std::string(hosting ? "PLAYER 2 HAS JOINED: " : "JOINED PLAYER 1: ") +
                 (s.relayed ? "THROUGH THE RELAY" : "DIRECT PATH");
        if (net->stage != NetPlay::Stage::lobby && net->stage != NetPlay::Stage::playing)
            status = net->lobbyText();
        else if (!net->bothHere())
            status =
                std::string(s.relayed ? "THROUGH THE RELAY" : "DIRECT PATH") + ": SAYING HELLO...";
        focus = goRow;
        break;
    }
    if (!s.code.empty() && s.code != code) {
        code = s.code;
        std::printf("room code: %s\n", code.c_str());
        std::fflush(stdout);
    }
}

MenuPanel OnlinePlay::panel() const {
    MenuPanel p;
    p.withValues = false;
    p.rowHeight = 28;
    p.focus = focus;
    p.notice = notice;
    if (screen == Screen::choose) {
        p.title = "PLAY ONLINE";
        p.rows = {{"HOST A GAME", ""}, {"JOIN A GAME", ""}, {"BACK", ""}};
        p.left = 312;
        p.right = 712;
        p.top = 220;
        if (notice.empty())
            p.notice = "LOBBY: " + upper(lobby);
        return p;
    }
    p.left = 192;
    p.right = 832;
    p.top = 170;
    p.rows.resize(backRow + 1);
    const bool ready = net && net->bothHere();
    if (screen == Screen::host) {
        p.title = "TELL PLAYER 2 THIS CODE";
        p.rows[statusRow] = {link ? status : "", ""};
        p.rows[goRow] = {link || ready ? "START" : "TRY AGAIN", ""};
        p.rows[goRow].dimmed = link && !ready;
    } else {
        p.title = link ? "JOINING WITH THE CODE" : "TYPE THE CODE FROM PLAYER 1";
        std::string here;
        for (const LocalGame& g : nearby)
            if (here.size() < 40)
                here += (here.empty() ? "ON THIS NETWORK: " : ", ") + g.code;
        p.rows[statusRow] = {link           ? status
                             : here.empty() ? "LETTERS AND DIGITS, OR UP AND DOWN TO PICK"
                                            : here,
                             ""};
        p.rows[goRow] = {link ? "START" : "JOIN", ""};
        p.rows[goRow].dimmed = link ? !ready : normalRoomCode(code).empty();
    }
    p.rows[statusRow].dimmed = true;
    p.rows[backRow] = {"BACK", ""};
    return p;
}

void OnlinePlay::press(RoundState& round, int row) {
    if (screen == Screen::choose) {
        if (row == 0)
            host(round);
        else if (row == 1) {
            screen = Screen::join;
            focus = goRow;
            cursor = 0;
            notice.clear();
        } else {
            screen = Screen::hidden;
        }
        return;
    }
    if (row == backRow) {
        giveUp();
        focus = screen == Screen::host ? 0 : 1;
        screen = Screen::choose;
        notice.clear();
        return;
    }
    if (row != goRow)
        return;
    if (net && net->bothHere())
        net->startClicked();
    else if (!link && screen == Screen::host)
        host(round);
    else if (!link && screen == Screen::join && !normalRoomCode(code).empty())
        join(round, code);
}

// While the join screen waits for a code: the games waiting on this network, the first filled
// in once when nothing is typed yet.
void OnlinePlay::lookAround(RoundState& round) {
    if (screen != Screen::join || link) {
        search.reset();
        nearby.clear();
        filledFromNearby = false;
        lookingSince = 0;
        return;
    }
    if (!search)
        search = std::make_unique<LocalGameSearch>(askPort, askAt);
    const uint64_t now = steadyMs();
    nearby = search->look(now);
    if (lookingSince) {
        // A code the lobby could not be asked about, looked for on this network a while.
        const bool here = std::any_of(nearby.begin(), nearby.end(),
                                      [&](const LocalGame& g) { return g.code == code; });
        if (here || now - lookingSince >= lookNearbyMs) {
            lookingSince = 0;
            if (here)
                join(round, code);
            else
                notice = "NO GAME ON THIS NETWORK HAS THE CODE " + code + ", AND " + lookingWhy;
            return;
        }
    }
    if (!nearby.empty() && !filledFromNearby && code == std::string(roomCodeLength, ' ')) {
        code = nearby.front().code;
        cursor = roomCodeLength - 1;
        focus = goRow;
    }
    filledFromNearby |= !nearby.empty();
}

void OnlinePlay::step(int by) {
    code[static_cast<size_t>(cursor)] = nextRoomCodeSymbol(code[static_cast<size_t>(cursor)], by);
    notice.clear();
}

void OnlinePlay::type(const platform::Typed& typed, RoundState& round) {
    const std::string& key = typed.key;
    if (!typed.text.empty()) {
        write(typed.text);
        return;
    }
    if (key == "Escape") {
        press(round, backRow);
        return;
    }
    if (key == "Return" || key == "Keypad Enter") {
        press(round, goRow);
        return;
    }
    if (key == "Backspace" || key == "Delete") {
        if (key == "Backspace" && code[static_cast<size_t>(cursor)] == ' ' && cursor > 0)
            --cursor;
        code[static_cast<size_t>(cursor)] = ' ';
        notice.clear();
        return;
    }
    if (key == "Left" || key == "Right" || key == "Home" || key == "End") {
        cursor = key == "Home" ? 0
                 : key == "End"
                     ? roomCodeLength - 1
                     : std::clamp(cursor + (key == "Left" ? -1 : 1), 0, roomCodeLength - 1);
        return;
    }
    if (key == "Up" || key == "Down") {
        step(key == "Up" ? 1 : -1);
        return;
    }
    if (key == "Tab")
        focus = focus == goRow ? backRow : goRow;
}

void OnlinePlay::write(const std::string& typed) {
    // Spaces, dashes and line ends are no part of a code: a code pasted from a message comes
    // with them.
    std::string text;
    for (char c : typed)
        if (c != ' ' && c != '-' && c != '\n' && c != '\r' && c != '\t')
            text += c;
    // A whole code (pasted, say, as the host's "AB3-K9Z") takes the place of what was there.
    if (const std::string whole = normalRoomCode(text); !whole.empty() && text.size() > 1) {
        code = whole;
        cursor = roomCodeLength - 1;
        notice.clear();
        return;
    }
    for (char symbol : text) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(symbol)));
        if (!isRoomCodeSymbol(c)) {
            notice = std::isalnum(static_cast<unsigned char>(c))
                         ? "A CODE HAS NO 0, O, 1 OR I"
                         : "A CODE HAS ONLY LETTERS AND DIGITS";
            return;
        }
        code[static_cast<size_t>(cursor)] = c;
        notice.clear();
        if (cursor < roomCodeLength - 1)
            ++cursor;
    }
}

void OnlinePlay::frame(RoundState& round, const std::vector<MenuKey>& keys,
                       const std::vector<platform::Typed>& typed, const MenuPointer& pointer) {
    watch(round);
    if (screen == Screen::hidden)
        return;
    lookAround(round);
    for (const platform::Typed& t : typed)
        if (wantsTyping())
            type(t, round);
    const bool picking = screen == Screen::join && !link;
    const int rows = screen == Screen::choose ? 3 : backRow + 1;
    for (MenuKey k : keys) {
        if (screen == Screen::hidden)
            return;
        switch (k) {
        case MenuKey::up:
        case MenuKey::down:
            if (picking) {
                step(k == MenuKey::up ? 1 : -1);
                break;
            }
            [[fallthrough]];
        case MenuKey::next:
        case MenuKey::previous: {
            const int by = k == MenuKey::up || k == MenuKey::previous ? -1 : 1;
            do
                focus = ((focus + by) % rows + rows) % rows;
            while (!selectable(screen, focus));
            break;
        }
        case MenuKey::left:
        case MenuKey::right:
            if (picking)
                cursor = std::clamp(cursor + (k == MenuKey::left ? -1 : 1), 0, roomCodeLength - 1);
            break;
        case MenuKey::press:
            // A pad's A on a code not yet whole moves on to the next symbol.
            if (picking && focus == goRow && normalRoomCode(code).empty())
                cursor = std::min(cursor + 1, roomCodeLength - 1);
            else
                press(round, focus);
            break;
        case MenuKey::back:
            if (screen == Screen::choose)
                screen = Screen::hidden;
            else
                press(round, backRow);
            break;
        }
    }
    if (screen == Screen::hidden)
        return;
    // The pointer: hovering an entry highlights it, a click presses it; on the join screen a
    // click on a symbol's upper half steps it on, on its lower half back.
    const MenuPanel p = panel();
    const bool click = pointer.leftPress && !pointerDown;
    const bool moved = pointer.x != pointerX || pointer.y != pointerY;
    pointerX = pointer.x;
    pointerY = pointer.y;
    pointerDown = pointer.leftPress;
    const int row = p.rowAt(pointer.x, pointer.y);
    if (row >= 0 && selectable(screen, row) && (moved || click))
        focus = row;
    if (click && row >= 0 && selectable(screen, row)) {
        press(round, row);
        return;
    }
    if (click && picking) {
        const int left = (p.left + p.right - codeWidth) / 2;
        const int top = p.rowTop(0) + 14;
        const int n = (pointer.x - left) / (6 * codeBlock);
        if (pointer.x >= left && n < roomCodeLength && pointer.y >= top &&
            pointer.y < top + 7 * codeBlock) {
            cursor = n;
            step(pointer.y < top + 7 * codeBlock / 2 ? 1 : -1);
        }
    }
}

void OnlinePlay::draw(const FrameRect& frame) const {
    if (screen == Screen::hidden)
        return;
    const MenuPanel p = panel();
    drawMenuPanel(frame, p);
    if (screen == Screen::choose)
        return;
    const int left = (p.left + p.right - codeWidth) / 2;
    const int top = p.rowTop(0) + 14;
    const bool picking = screen == Screen::join && !link;
    if (screen == Screen::join) {
        // A line under each symbol; the one the keys change is the game's orange.
        const FrameColour orange{238 / 255.0f, 92 / 255.0f, 44 / 255.0f};
        const FrameColour grey{0.6f, 0.58f, 0.5f};
        for (int n = 0; n < roomCodeLength; ++n) {
            const int x = left + n * 6 * codeBlock;
            drawFrameBox(frame, x - 4, top + 7 * codeBlock + 4, x + 5 * codeBlock + 4,
                         top + 7 * codeBlock + 9, picking && n == cursor ? orange : grey);
        }
    }
    // The host's code once the lobby gave it.
    const std::string shown = screen == Screen::host && !normalRoomCode(code).size() ? "" : code;
    drawBigText(frame, shown, left, top, codeBlock, {0.1f, 0.12f, 0.25f});
}

void drawOnlineEntry(const FrameRect& frame) {
    // Menu units to frame pixels, as the pointer is mapped the other way (screens/Menu.cpp).
    const MenuArea& a = onlineArea;
    const int left = static_cast<int>(windowWidth / 2 + a.left * windowWidth / 11.5f);
    const int right = static_cast<int>(windowWidth / 2 + a.right * windowWidth / 11.5f);
    const int top = static_cast<int>(windowHeight / 2 - a.top * windowHeight / 8.3f);
    const int bottom = static_cast<int>(windowHeight / 2 - a.bottom * windowHeight / 8.3f);
    drawFrameLabel(frame, "PLAY ONLINE", left, top, right, bottom, {0.12f, 0.2f, 0.45f, 0.85f});
}
