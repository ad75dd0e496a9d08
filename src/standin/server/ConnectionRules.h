#pragma once
// What every connection is held to, in one place: the reply lines that refuse or end it, and the
// checks of the terminal's turns (docs/terminal-protocol.md, "Breaches").
#include <string>

#include "standin/protocol/Messages.h"
#include "standin/server/ServerCore.h"

namespace morvane::standin {

// A reply never holds a thread for long, whatever the terminal does with it.
inline constexpr int kReplyMs = 1000;

// Writes one reply line, even while the server stops (the line may say so).
void SendReply(Connection& c, const std::string& line, int delayMs);
// Replies ERR and marks the connection to be closed once the exchange is over.
void DropWith(Connection& c, ReplyCode code, const char* text, char delimiter, int delayMs);

// Whether the terminal has sent anything since it made its request: while the component has the
// turn, the terminal must stay silent. Called by whoever has the connection at the moment.
enum class Turn { kSilent, kSpoke, kGone };
Turn CheckTurn(Connection& c);

// Whether the terminal has ended the connection: it hung up, or QUIT waits to be read. Looks
// without taking anything, so the acceptor may ask while another thread owns the connection.
bool TerminalHasEnded(const Connection& c);

}  // namespace morvane::standin
