// The sync editor's client against a fake editor: the handshake and the tracks it asks for, keys
// and commands arriving in pieces, rows sent back, the editor away, leaving and coming back, and
// malformed messages. The editor's waiting calls run on a thread of their own while the test
// polls the client as a frame loop does.
#include "sync/client.h"

#include <gtest/gtest.h>

#include <SFML/Network/TcpListener.hpp>
#include <SFML/System/Sleep.hpp>
#include <functional>
#include <future>

#include "fake_editor.h"

namespace {

// A client whose lines and events are kept.
struct Session {
  std::vector<std::string> lines;
  std::vector<SyncEvent> events;
  SyncClient client;

  Session(unsigned short port, CameraTracks tracks = CameraTracks(), float greeting_seconds = 5.0f)
      : client(
            SyncAddress{"127.0.0.1", port}, std::move(tracks),
            [this](const std::string& line) { lines.push_back(line); }, 0.05f, greeting_seconds) {}

  // Polls a frame a millisecond until `done` holds; false if it never does (a bound only).
  bool PollUntil(const std::function<bool()>& done, int frames = 5000) {
    for (int frame = 0; frame < frames; ++frame) {
      for (const SyncEvent& e : client.Poll()) events.push_back(e);
      if (done()) return true;
      sf::sleep(sf::milliseconds(1));
    }
    return false;
  }
  // Runs a waiting call of the editor on a thread while polling; its result.
  bool While(const std::function<bool()>& editor_call) {
    auto result = std::async(std::launch::async, editor_call);
    PollUntil(
        [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
    return result.get();
  }
  bool Connect(FakeEditor& editor, std::string& error, std::uint32_t cursor_row = 0) {
    return While([&] { return editor.Accept(error, cursor_row); }) &&
           PollUntil([&] { return client.Connected(); });
  }
  std::vector<float> XValues() const {
    std::vector<float> values;
    for (const SyncKey& key : client.Tracks().tracks[0].keys) values.push_back(key.value);
    return values;
  }
};

}  // namespace

TEST(SyncClient, TalksToAnEditorAndFindsItAgain) {
  unsigned short port = 0;
  std::string error;
  {
    FakeEditor gone;
    ASSERT_TRUE(gone.Listen(0, error)) << error;
    port = gone.Port();
  }
  CameraTracks from_files;
  from_files.tracks[2].SetKey({0, 7.0f, SyncKey::STEP});
  Session s(port, from_files);
  // Nobody listens: one line, then quiet retries; the saved tracks play meanwhile.
  s.PollUntil([] { return false; }, 300);
  ASSERT_EQ(s.lines.size(), 1u);
  EXPECT_NE(s.lines[0].find("no sync editor at 127.0.0.1:"), std::string::npos) << s.lines[0];
  EXPECT_EQ(s.client.Tracks().Driven(), "pos.z");

  FakeEditor editor;
  ASSERT_TRUE(editor.Listen(port, error)) << error;
  editor.document["camera:pos.x"] = {set_key(0, 0, 1.0f, 1), set_key(0, 16, 2.0f, 0)};
  editor.document["camera:rot.y"] = {set_key(0, 8, 45.0f, 2)};
  ASSERT_TRUE(s.Connect(editor, error, 24)) << error;
  // The editor's document replaces the saved tracks; its greeting pauses and seeks.
  ASSERT_TRUE(s.PollUntil([&] { return s.client.Tracks().Driven() == "pos.x rot.y"; }));
  EXPECT_EQ(s.XValues(), (std::vector<float>{1.0f, 2.0f}));
  ASSERT_EQ(s.events.size(), 2u);
  EXPECT_TRUE(s.events[0].kind == SyncEvent::PAUSE && s.events[0].paused);
  EXPECT_TRUE(s.events[1].kind == SyncEvent::SEEK && s.events[1].row == 24);
  s.events.clear();

  // A key in three pieces across polls, a deletion, then the transport and a save.
  const Message key = set_key(0, 8, 1.5f, 3);
  for (auto [from, to] : {std::pair{0, 3}, {3, 10}, {10, 14}}) {
    ASSERT_TRUE(editor.Send(Message(key.begin() + from, key.begin() + to)));
    s.PollUntil([] { return true; });
  }
  ASSERT_TRUE(editor.Send(message(1, {0, 16})));
  ASSERT_TRUE(editor.Send(message(3, {800})));
  ASSERT_TRUE(editor.Send(message(4, {}, 0)));
  ASSERT_TRUE(editor.Send(message(5, {})));
  ASSERT_TRUE(s.PollUntil([&] { return s.events.size() == 3; }));
  EXPECT_EQ(s.XValues(), (std::vector<float>{1.0f, 1.5f}));
  EXPECT_EQ(s.client.Tracks().tracks[0].keys[1].interpolation, SyncKey::RAMP);
  EXPECT_TRUE(s.events[0].kind == SyncEvent::SEEK && s.events[0].row == 800);
  EXPECT_TRUE(s.events[1].kind == SyncEvent::PAUSE && !s.events[1].paused);
  EXPECT_EQ(s.events[2].kind, SyncEvent::SAVE);

  // Rows go back when they change, and not the row the editor has just set.
  for (int row : {800, 801, 801, 802}) s.client.ReportRow(row);
  for (std::uint32_t expected : {801u, 802u}) {
    std::uint32_t row = 0;
    ASSERT_TRUE(s.While([&] { return editor.ReadRow(row, error); })) << error;
    EXPECT_EQ(row, expected);
  }

  // The editor closes: one line, the last values stay; back with another document.
  editor.Close();
  ASSERT_TRUE(s.PollUntil([&] { return !s.client.Connected(); }));
  EXPECT_EQ(s.XValues(), (std::vector<float>{1.0f, 1.5f}));
  editor.document["camera:pos.x"] = {set_key(0, 0, 3.0f, 1)};
  ASSERT_TRUE(s.Connect(editor, error)) << error;
  ASSERT_TRUE(s.PollUntil([&] { return s.XValues() == std::vector<float>{3.0f}; }));
  EXPECT_EQ(s.lines.size(), 4u);  // no editor, connected, closed, connected
}

// Malformed or cut-off messages drop the connection with one line; the keys before them stay,
// and the client connects again.
TEST(SyncClient, DropsMalformedMessages) {
  FakeEditor editor;
  std::string error;
  ASSERT_TRUE(editor.Listen(0, error)) << error;
  Session s(editor.Port());
  const struct {
    const char* what;
    Message bytes;
  } cases[] = {
      {"unknown command 0x09", {9}},
      {"track 6, which was never requested", set_key(6, 0, 1.0f, 0)},
      {"interpolation 4", set_key(0, 0, 1.0f, 4)},
      {"the row 2147483648", message(3, {0x80000000u})},
      {"closed the connection", {0, 0, 0, 0, 0, 0, 0}},  // half a key, then gone
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(s.Connect(editor, error)) << c.what << ": " << error;
    ASSERT_TRUE(editor.Send(set_key(0, 4, 2.0f, 0)));
    ASSERT_TRUE(editor.Send(c.bytes));
    if (c.bytes.size() == 7) editor.Close();
    ASSERT_TRUE(s.PollUntil([&] { return !s.client.Connected(); })) << c.what;
    EXPECT_NE(s.lines.back().find(c.what), std::string::npos) << s.lines.back();
    EXPECT_EQ(s.XValues(), std::vector<float>{2.0f}) << c.what;
  }
  EXPECT_EQ(s.lines.size(), 10u);  // connected and dropped, five times
}

// A server that accepts and never greets: the client gives up on it, says so once, and tries
// again as after a refused connection, while the show goes on polling.
TEST(SyncClient, GivesUpOnAServerThatNeverGreets) {
  sf::TcpListener listener;
  ASSERT_EQ(listener.listen(0, sf::IpAddress::LocalHost), sf::Socket::Done);
  Session session(listener.getLocalPort(), CameraTracks(), 0.1f);
  sf::TcpSocket first, second;
  ASSERT_TRUE(session.While([&] { return listener.accept(first) == sf::Socket::Done; }));
  ASSERT_TRUE(session.PollUntil([&] { return !session.lines.empty(); }));
  ASSERT_EQ(session.lines.size(), 1u);
  EXPECT_NE(session.lines[0].find("did not greet"), std::string::npos) << session.lines[0];
  ASSERT_TRUE(session.While([&] { return listener.accept(second) == sf::Socket::Done; }));
  session.PollUntil([] { return false; }, 300);
  EXPECT_EQ(session.lines.size(), 1u);
  EXPECT_FALSE(session.client.Connected());
}
