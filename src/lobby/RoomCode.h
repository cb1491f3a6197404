#pragma once
#include <cstdint>
#include <string>

// A room code: six symbols from 32 that cannot be taken for one another when read out or
// written down (no 0 and O, no 1 and I), so 30 bits: guessing one at the lobby's limit of wrong
// codes per address is hopeless.
constexpr int roomCodeLength = 6;
inline constexpr char roomCodeAlphabet[] = "23456789ABCDEFGHJKLMNPQRSTUVWXYZ";
constexpr int roomCodeSymbols = sizeof roomCodeAlphabet - 1;

// The code written with the symbols picked by six numbers (each taken modulo 32).
std::string roomCodeFrom(uint32_t bits);
// The code as typed, upper-cased with spaces and dashes left out; empty when it is not a code.
std::string normalRoomCode(const std::string& typed);
bool isRoomCodeSymbol(char c);
// The symbol after (by > 0) or before one in the alphabet, round at the ends.
char nextRoomCodeSymbol(char c, int by);
