// The sync editor's client against a fake editor: the handshake and the tracks it asks for, keys
// and transport commands arriving in pieces, rows sent back, saving, the editor leaving and
// coming back, and malformed messages. The editor's waiting calls run on a thread of their own;
// the test polls the client as a frame loop would.
#include "sync/client.h"

#include <gtest/gtest.h>

#include <SFML/System/Sleep.hpp>
#include <filesystem>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include "fake_editor.h"

namespace {

constexpr float retry_seconds = 0.05f;

// A client of `editor` whose lines are kept, and the events of every poll.
struct Session {
  std::vector<std::string> lines;
  std::vector<SyncEvent> events;
  SyncClient client;

  Session(unsigned short port, CameraTracks tracks = CameraTracks())
      : client(
            SyncAddress{"127.0.0.1", port}, std::move(tracks),
            [this](const std::string& line) { lines.push_back(line); }, retry_seconds) {}

  // Polls as frames do until `done` holds; false if it never does (a bound, not a timing).
  bool PollUntil(const std::function<bool()>& done, int frames = 5000) {
    for (int frame = 0; frame < frames; ++frame) {
      for (const SyncEvent& e : client.Poll()) events.push_back(e);
      if (done()) return true;
      sf::sleep(sf::milliseconds(1));
    }
    return false;
  }
  // Runs the editor's waiting call on a thread while polling; its result.
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
};

const std::vector<float>& x_values(const SyncClient& client) {
  static std::vector<float> values;
  values.clear();
  for (const SyncKey& key : client.Tracks().tracks[0].keys) values.push_back(key.value);
  return values;
}

}  // namespace

TEST(SyncClient, TalksToAnEditor) {
  FakeEditor editor;
  std::string error;
  ASSERT_TRUE(editor.Listen(0, error)) << error;
  editor.document["camera:pos.x"] = {{0, 1.0f, 1}, {16, 2.0f, 0}};
  editor.document["camera:rot.y"] = {{8, 45.0f, 2}};
  CameraTracks from_files;
  from_files.tracks[2].SetKey({0, 7.0f, SyncKey::STEP});  // the editor's document replaces it
  Session s(editor.Port(), from_files);
  EXPECT_EQ(s.client.Tracks().Driven(), "pos.z");

  ASSERT_TRUE(s.Connect(editor, error, 24)) << error;
  EXPECT_EQ(editor.requested,
            (std::vector<std::string>{"camera:pos.x", "camera:pos.y", "camera:pos.z",
                                      "camera:rot.x", "camera:rot.y", "camera:rot.z"}));
  ASSERT_TRUE(s.PollUntil([&] { return s.client.Tracks().Driven() == "pos.x rot.y"; }));
  EXPECT_EQ(x_values(s.client), (std::vector<float>{1.0f, 2.0f}));
  // The editor's greeting commands: pause, then its cursor.
  ASSERT_TRUE(s.PollUntil([&] { return s.events.size() >= 2; }));
  EXPECT_EQ(s.events[0].kind, SyncEvent::PAUSE);
  EXPECT_TRUE(s.events[0].paused);
  EXPECT_EQ(s.events[1].kind, SyncEvent::SEEK);
  EXPECT_EQ(s.events[1].row, 24);
  s.events.clear();

  // A key in three pieces, across polls; an edit; a deletion; transport; save.
  const std::vector<unsigned char> key = set_key_message(0, 8, 1.5f, 3);
  ASSERT_TRUE(editor.SendRaw({key.begin(), key.begin() + 3}));
  s.PollUntil([] { return true; });
  ASSERT_TRUE(editor.SendRaw({key.begin() + 3, key.begin() + 10}));
  s.PollUntil([] { return true; });
  ASSERT_TRUE(editor.SendRaw({key.begin() + 10, key.end()}));
  ASSERT_TRUE(editor.DeleteKey(0, 16));
  ASSERT_TRUE(editor.SetRow(800));
  ASSERT_TRUE(editor.Pause(false));
  ASSERT_TRUE(editor.Save());
  ASSERT_TRUE(s.PollUntil([&] { return s.events.size() >= 3; }));
  EXPECT_EQ(x_values(s.client), (std::vector<float>{1.0f, 1.5f}));
  EXPECT_EQ(s.client.Tracks().tracks[0].keys[1].interpolation, SyncKey::RAMP);
  EXPECT_EQ(s.events[0].kind, SyncEvent::SEEK);
  EXPECT_EQ(s.events[0].row, 800);
  EXPECT_EQ(s.events[1].kind, SyncEvent::PAUSE);
  EXPECT_FALSE(s.events[1].paused);
  EXPECT_EQ(s.events[2].kind, SyncEvent::SAVE);

  // Rows go back only when they change, and not the row the editor just set.
  s.client.ReportRow(800);
  s.client.ReportRow(801);
  s.client.ReportRow(801);
  s.client.ReportRow(802);
  std::uint32_t row = 0;
  ASSERT_TRUE(s.While([&] { return editor.ReadRow(row, error); })) << error;
  EXPECT_EQ(row, 801u);
  ASSERT_TRUE(s.While([&] { return editor.ReadRow(row, error); })) << error;
  EXPECT_EQ(row, 802u);

  // What SAVE_TRACKS asks for: the files the renderer then plays.
  const std::string dir = (std::filesystem::temp_directory_path() / "tessary-sync-save").string();
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  ASSERT_TRUE(s.client.Tracks().Save(dir, error)) << error;
  CameraTracks saved;
  std::vector<std::string> problems;
  saved.Load(dir, problems);
  EXPECT_TRUE(problems.empty());
  EXPECT_EQ(saved.Driven(), "pos.x rot.y");
  EXPECT_EQ(saved.tracks[4].ValueAt(0.0), 45.0f);
  EXPECT_TRUE(std::filesystem::exists(dir + "/sync_camera-3Apos.x.track"));
  std::filesystem::remove_all(dir);
  EXPECT_EQ(s.lines.size(), 1u);  // "connected"
}

// The editor away, leaving, coming back: one line each time it is lost, the last values kept
// meanwhile, and the tracks fetched afresh on every connection.
TEST(SyncClient, ReconnectsAndKeepsTheLastValues) {
  unsigned short port = 0;
  {
    FakeEditor probe;
    std::string error;
    ASSERT_TRUE(probe.Listen(0, error)) << error;
    port = probe.Port();
  }
  Session s(port);
  // Nobody listens: one line, then quiet retries.
  ASSERT_TRUE(s.PollUntil([&] { return !s.lines.empty(); }));
  s.PollUntil([&] { return false; }, 300);  // some retries' worth
  EXPECT_EQ(s.lines.size(), 1u);
  EXPECT_NE(s.lines[0].find("no sync editor at 127.0.0.1:" + std::to_string(port)),
            std::string::npos)
      << s.lines[0];

  FakeEditor editor;
  std::string error;
  ASSERT_TRUE(editor.Listen(port, error)) << error;
  editor.document["camera:pos.x"] = {{0, 1.0f, 1}};
  ASSERT_TRUE(s.Connect(editor, error)) << error;
  ASSERT_TRUE(s.PollUntil([&] { return x_values(s.client).size() == 1; }));
  editor.Close();
  ASSERT_TRUE(s.PollUntil([&] { return !s.client.Connected(); }));
  EXPECT_EQ(x_values(s.client), std::vector<float>{1.0f});

  editor.document["camera:pos.x"] = {{0, 3.0f, 1}};
  ASSERT_TRUE(s.Connect(editor, error)) << error;
  ASSERT_TRUE(s.PollUntil([&] { return x_values(s.client) == std::vector<float>{3.0f}; }));
  EXPECT_EQ(s.lines.size(), 4u);  // no editor, connected, closed, connected
}

// Malformed or cut-off messages drop the connection with one line; the keys before them stay,
// the client goes on polling and connects again.
TEST(SyncClient, DropsMalformedMessages) {
  FakeEditor editor;
  std::string error;
  ASSERT_TRUE(editor.Listen(0, error)) << error;
  Session s(editor.Port());
  const struct {
    const char* what;
    std::vector<unsigned char> bytes;
    bool close;
  } cases[] = {
      {"unknown command 0x09", {9}, false},
      {"never requested", set_key_message(6, 0, 1.0f, 0), false},
      {"interpolation 4", set_key_message(0, 0, 1.0f, 4), false},
      {"row 2^31", {3, 0x80, 0, 0, 0}, false},
      {"half a key, then gone", {0, 0, 0, 0, 0, 0, 0}, true},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(s.Connect(editor, error)) << c.what << ": " << error;
    ASSERT_TRUE(editor.SetKey(0, 4, 2.0f, 0));
    std::vector<unsigned char> bytes = c.bytes;
    ASSERT_TRUE(editor.SendRaw(bytes));
    if (c.close) editor.Close();
    const size_t lines = s.lines.size();
    ASSERT_TRUE(s.PollUntil([&] { return !s.client.Connected(); })) << c.what;
    EXPECT_EQ(s.lines.size(), lines + 1) << c.what;
    EXPECT_EQ(x_values(s.client), std::vector<float>{2.0f}) << c.what;
  }
  EXPECT_NE(s.lines[1].find("an unknown command 0x09"), std::string::npos) << s.lines[1];
}

TEST(SyncClient, ParsesItsAddress) {
  SyncAddress address;
  std::string error;
  ASSERT_TRUE(parse_sync_address("1339", address, error));
  EXPECT_EQ(address.Text(), "127.0.0.1:1339");
  ASSERT_TRUE(parse_sync_address("studio.local:80", address, error));
  EXPECT_EQ(address.Text(), "studio.local:80");
  for (const char* bad : {"", ":1338", "host:", "70000", "0", "12a", "host:-1"}) {
    EXPECT_FALSE(parse_sync_address(bad, address, error)) << bad;
  }
}
