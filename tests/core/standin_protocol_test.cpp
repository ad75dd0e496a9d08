// The terminal protocol's lines and framing, without sockets.
#include <gtest/gtest.h>

#include <string>

#include "standin/protocol/LineBuffer.h"
#include "standin/protocol/Messages.h"
#include "standin/protocol/ProtocolLimits.h"
#include "standin/protocol/RequestData.h"

namespace morvane::standin {
namespace {

TEST(StandinLineBuffer, HandsOutLinesAndLeavesPayloadBytesUntouched) {
  LineBuffer b;
  std::string line;
  b.Append(std::string_view("DATA;5\r\nab\n\0x\0", 14));
  ASSERT_EQ(b.TakeLine(kMaxLineBytes, line), LineStatus::kLine);
  EXPECT_EQ(line, "DATA;5") << "the CR of a CR LF line end is dropped";
  char payload[8] = {};
  ASSERT_EQ(b.TakeBytes(payload, 5), 5u) << "payload after the header stays raw, LF included";
  EXPECT_EQ(std::string(payload, 5), std::string("ab\n\0x", 5));
  EXPECT_EQ(b.Size(), 1u);
}

TEST(StandinLineBuffer, WaitsForTheLineEndAcrossAppends) {
  LineBuffer b;
  std::string line;
  b.Append("DOWN");
  EXPECT_EQ(b.TakeLine(kMaxLineBytes, line), LineStatus::kNeedMore);
  b.Append("LOAD;A1;2\nUPLOAD");
  ASSERT_EQ(b.TakeLine(kMaxLineBytes, line), LineStatus::kLine);
  EXPECT_EQ(line, "DOWNLOAD;A1;2");
  EXPECT_EQ(b.TakeLine(kMaxLineBytes, line), LineStatus::kNeedMore);
}

TEST(StandinLineBuffer, RefusesOverlongLinesWithOrWithoutTheirEnd) {
  std::string line;
  LineBuffer exact;
  exact.Append(std::string(10, 'x') + "\r\n");
  EXPECT_EQ(exact.TakeLine(10, line), LineStatus::kLine) << "exactly at the limit is fine";

  LineBuffer pendingCr;
  pendingCr.Append(std::string(10, 'x') + "\r");
  EXPECT_EQ(pendingCr.TakeLine(10, line), LineStatus::kNeedMore) << "its LF may still come";

  LineBuffer unterminated;
  unterminated.Append(std::string(11, 'x'));
  EXPECT_EQ(unterminated.TakeLine(10, line), LineStatus::kTooLong)
      << "no need to wait for the end of a line that is already too long";

  LineBuffer terminated;
  terminated.Append(std::string(11, 'x') + "\n");
  EXPECT_EQ(terminated.TakeLine(10, line), LineStatus::kTooLong);
}

TEST(StandinMessages, ParsesBothRequestsWithTheGivenDelimiter) {
  RequestParse d = ParseRequest("DOWNLOAD;A1B2C3;2", ';');
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.request.kind, RequestKind::kDownload);
  EXPECT_EQ(d.request.serial, "A1B2C3");
  EXPECT_EQ(d.request.base, 2);

  RequestParse u = ParseRequest("upload\t12345678\t1\t2\tX-7", '\t');
  ASSERT_TRUE(u.ok) << "verbs are not case-sensitive; any delimiter byte works";
  EXPECT_EQ(u.request.kind, RequestKind::kUpload);
  EXPECT_EQ(u.request.serial, "12345678");
  EXPECT_EQ(u.request.base, 1);
  EXPECT_EQ(u.request.dataKind, 2);
  EXPECT_EQ(u.request.extra, "X-7");

  RequestParse noExtra = ParseRequest("UPLOAD;S;0;1", ';');
  ASSERT_TRUE(noExtra.ok);
  EXPECT_EQ(noExtra.request.extra, "0") << "a missing extra field travels as 0";

  EXPECT_TRUE(ParseRequest("QUIT", ';').ok);
}

TEST(StandinMessages, RefusesRequestsThatWouldEndUpInPathsOrShiftFields) {
  struct Case {
    const char* line;
    ReplyCode code;
  };
  const Case cases[] = {
      {"HELLO;x", ReplyCode::kBadRequest},
      {"DOWNLOAD;A1", ReplyCode::kBadRequest},
      {"DOWNLOAD;A1;2;3", ReplyCode::kBadRequest},
      {"UPLOAD;A1;2", ReplyCode::kBadRequest},
      {"DOWNLOAD;..\\..\\Windows\\x;1", ReplyCode::kBadSerial},
      {"DOWNLOAD;12345*;1", ReplyCode::kBadSerial},
      {"DOWNLOAD;;1", ReplyCode::kBadSerial},
      {"DOWNLOAD;A,B;1", ReplyCode::kBadSerial},
      {"DOWNLOAD;A1;-1", ReplyCode::kBadBase},
      {"DOWNLOAD;A1;100000", ReplyCode::kBadBase},
      {"DOWNLOAD;A1; 1", ReplyCode::kBadBase},
      {"UPLOAD;A1;1;3", ReplyCode::kBadKind},
      {"UPLOAD;A1;1;0", ReplyCode::kBadKind},
      {"UPLOAD;A1;1;1;a,b", ReplyCode::kBadExtra},
      {"UPLOAD;A1;1;1;x;y", ReplyCode::kBadRequest},
  };
  for (const Case& c : cases) {
    const RequestParse p = ParseRequest(c.line, ';');
    EXPECT_FALSE(p.ok) << c.line;
    EXPECT_EQ(p.error, c.code) << c.line;
  }
  EXPECT_FALSE(
      ParseRequest(std::string(kMaxSerialBytes + 1, 'S').insert(0, "DOWNLOAD;") + ";1", ';').ok);
}

TEST(StandinMessages, RepliesRoundTripAndKeepDelimitersInErrorTexts) {
  Reply r;
  const std::string file = FormatFile(3, 1048576, '|');
  EXPECT_EQ(file, "FILE|3|1048576\n");
  ASSERT_TRUE(ParseReply(file.substr(0, file.size() - 1), '|', r));
  EXPECT_EQ(r.verb, ReplyVerb::kFile);
  EXPECT_EQ(r.base, 3);
  EXPECT_EQ(r.size, 1048576u);

  const std::string err = FormatErr(ReplyCode::kStoreFailed, "disk; full\r\nnow", ';');
  EXPECT_EQ(err, "ERR;52;disk; full  now\n") << "control bytes cannot break the line";
  ASSERT_TRUE(ParseReply(err.substr(0, err.size() - 1), ';', r));
  EXPECT_EQ(r.verb, ReplyVerb::kErr);
  EXPECT_EQ(r.code, 52);
  EXPECT_EQ(r.text, "disk; full  now") << "the last field keeps the delimiters";

  ASSERT_TRUE(ParseReply("STORED;1", ';', r));
  EXPECT_EQ(r.clear, 1);
  ASSERT_TRUE(ParseReply("GET;2;5", ';', r));
  EXPECT_EQ(r.dataKind, 2);
  EXPECT_EQ(r.base, 5);

  EXPECT_FALSE(ParseReply("FILE;3;" + std::to_string(kMaxTransferBytes + 1), ';', r))
      << "a file over the limit is not a valid header";
  ASSERT_TRUE(ParseReply("DATA;18446744073709551615", ';', r))
      << "an oversized DATA size is read in full so that it can be refused as such";
  EXPECT_EQ(r.size, UINT64_MAX);
  ASSERT_TRUE(ParseReply("DATA;" + std::string(40, '9'), ';', r))
      << "a size too large to count is still a size, to be refused as too large";
  EXPECT_EQ(r.size, UINT64_MAX);
  EXPECT_EQ(r.text, std::string(40, '9'));
  ASSERT_TRUE(ParseReply("DATA;000000000000000000000012", ';', r));
  EXPECT_EQ(r.size, 12u);
  EXPECT_FALSE(ParseReply("DATA;-5", ';', r));
  EXPECT_FALSE(ParseReply("DATA;", ';', r));
  EXPECT_FALSE(ParseReply("OK;12x", ';', r));
  EXPECT_FALSE(ParseReply("STORED;2", ';', r));
  EXPECT_FALSE(ParseReply("", ';', r));
}

TEST(StandinMessages, DelimiterFallsBackForValuesThatCannotSeparateFields) {
  EXPECT_EQ(EffectiveDelimiter(9), '\t');
  EXPECT_EQ(EffectiveDelimiter(255), static_cast<char>(0xff));
  EXPECT_EQ(EffectiveDelimiter(0), ';');
  EXPECT_EQ(EffectiveDelimiter('\n'), ';');
  EXPECT_EQ(EffectiveDelimiter('\r'), ';');
  EXPECT_EQ(EffectiveDelimiter(256), ';');
  EXPECT_EQ(EffectiveDelimiter(-1), ';');
}

TEST(StandinRequestData, BuildsTheCommaSeparatedTextsOfBothEvents) {
  EXPECT_EQ(DownloadDataText("10.0.0.7", 2, "A1B2C3"), "10.0.0.7,2,0,A1B2C3");
  EXPECT_EQ(UploadDataText("192.168.0.21", 1, "X7", 2, "12345678"), "192.168.0.21,1,X7,2,12345678");
}

}  // namespace
}  // namespace morvane::standin
