#include "standin/server/ConnectionRules.h"

#include <algorithm>

namespace morvane::standin {

using net::Deadline;
using net::IoStatus;

void SendReply(Connection& c, const std::string& line, int delayMs) {
  c.channel.socket().SendAll(line.data(), line.size(),
                             Deadline::AfterMs(std::min(delayMs, kReplyMs)));
}

void DropWith(Connection& c, ReplyCode code, const char* text, char delimiter, int delayMs) {
  SendReply(c, FormatErr(code, text, delimiter), delayMs);
  c.broken = true;
}

Turn CheckTurn(Connection& c) {
  if (c.channel.HasBuffered()) return Turn::kSpoke;
  switch (c.channel.socket().Peek()) {
    case IoStatus::kTimeout:
      return Turn::kSilent;
    case IoStatus::kOk:
      return Turn::kSpoke;
    default:
      return Turn::kGone;
  }
}

bool TerminalHasEnded(const Connection& c) {
  char head[6];
  const int n = c.channel.socket().PeekBytes(head, sizeof head);
  if (n == 0) return true;  // hung up with nothing left unread
  if (n < 5) return false;
  const bool lineEnd = head[4] == '\n' || (n == 6 && head[4] == '\r' && head[5] == '\n');
  const RequestParse parsed = ParseRequest(std::string_view(head, 4), ';');
  return lineEnd && parsed.ok && parsed.request.kind == RequestKind::kQuit;
}

}  // namespace morvane::standin
