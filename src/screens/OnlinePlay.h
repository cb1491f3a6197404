#pragma once
#include "platform/Platform.h"
#include "platform/Pointer.h"
#include "render/BigLetters.h"
#include "render/MenuPanel.h"
#include <functional>
#include <memory>
#include <string>
#include <vector>

class LocalGameSearch;
class LocalLobby;
class NetPlay;
class NetSession;
class OnlineLink;
struct LocalGame;
struct RoundState;

// The title's PLAY ONLINE screens and the online game they set up: HOST A GAME asks the lobby
// for a room and shows its code large ("TELL PLAYER 2 THIS CODE"), then who joined and whether
// the path is direct or through the relay; JOIN A GAME takes the code typed on the keyboard or
// picked symbol by symbol with a pad (up and down change it, left and right move along) or the
// mouse (a click on a symbol's upper half steps it on, on its lower half back). Once a path is
// there the round is played as any network round (NetPlay); START on either machine begins it.
// With no lobby to reach, the host serves a lobby of its own and its code works on the same
// network; the join screen lists the games waiting there (and fills in the first).
class OnlinePlay {
  public:
    enum class Screen { hidden, choose, host, join };

    OnlinePlay();
    ~OnlinePlay();
    OnlinePlay(const OnlinePlay&) = delete;
    OnlinePlay& operator=(const OnlinePlay&) = delete;

    // Where the lobby is (HOST[:PORT]) and whether to play only through the relay: from the
    // settings, or the command line.
    void configure(const std::string& lobby, bool alwaysRelay);
    void open() { screen = Screen::choose, focus = 0, notice.clear(); }
    bool shown() const { return screen != Screen::hidden; }
    // Straight to hosting, or to joining with a code (the command line's way in).
    void host(RoundState& round);
    void join(RoundState& round, const std::string& code);

    // One frame of the screen: the menu keys, what was typed (on the join screen: text and
    // the keys that edit, every one of the frame), the pointer. `connected` is called once with
    // the round played over the path; `left` when the player goes back and an online game there
    // was is given up.
    void frame(RoundState& round, const std::vector<platform::MenuKey>& keys,
               const std::vector<platform::Typed>& typed, const MenuPointer& pointer);
    // Whether the join screen wants what is typed.
    bool wantsTyping() const { return screen == Screen::join && !link; }
    void draw(const FrameRect& frame) const;
    // The panel as it shows now (its rows take the pointer).
    MenuPanel panel() const;

    // Gives the online game up (the link, the session and its round), as BACK does.
    void close() { giveUp(); }
    // The round with the other machine, once there is a path; null before.
    NetPlay* play() const { return net.get(); }
    std::function<void(NetPlay&, NetSession&)> connected;
    std::function<void()> left;

    Screen screen = Screen::hidden;
    int focus = 0;
    std::string code = std::string(6, ' '); // the join screen's symbols; ' ' not yet picked
    int cursor = 0;
    std::string notice; // what went wrong, or what is happening
    // Where the local network's games are asked after and answer (every network this machine
    // is on, and UDP port 7721, unless set).
    std::vector<std::string> askAt;
    uint16_t askPort = 7721;

  private:
    void press(RoundState& round, int row);
    void step(int by);
    void type(const platform::Typed& typed, RoundState& round);
    void write(const std::string& text);
    void giveUp();
    void watch(RoundState& round);
    void hostAt(const std::string& lobbyHost, uint16_t lobbyPort);
    void lookAround(RoundState& round);

    std::string lobby;
    bool alwaysRelay = false;
    std::unique_ptr<NetSession> session;
    std::unique_ptr<OnlineLink> link;
    std::unique_ptr<NetPlay> net;
    std::unique_ptr<LocalLobby> localLobby;  // hosting on this network only
    std::unique_ptr<LocalGameSearch> search; // the join screen's look around this network
    std::vector<LocalGame> nearby;
    bool filledFromNearby = false;
    bool joinedNearby = false; // through the lobby of a game on this network
    uint64_t lookingSince = 0; // looking for the code on this network since (0: not)
    std::string lookingWhy;    // why the lobby could not be asked
    std::string status;        // the link's state in words
    int pointerX = -1, pointerY = -1;
    bool pointerDown = false;
};

// The title's PLAY ONLINE entry, a band beside HELP (its area in screens/Menu.h).
void drawOnlineEntry(const FrameRect& frame);
