#ifndef TESSARY_SYNC_CLIENT_H
#define TESSARY_SYNC_CLIENT_H

// The player's side of the sync editor's protocol: a TCP client that asks the editor for the
// camera tracks, keeps their keys as the editor edits them and hands on its transport commands.
// No call ever waits on the network: the host is looked up and connected to on a thread of
// its own, and the socket is otherwise only read and written without blocking.
//
// How to use, once a frame:
//   SyncClient client(address, std::move(tracks_from_files));
//   head.SetCameraOverride(&client.Tracks());
//   for (const SyncEvent& event : client.Poll()) {
//     SEEK: seek to first_step_of_row(event.row); PAUSE: pause or resume; SAVE: save the tracks
//   }
//   ... draw ...
//   if (playing) client.ReportRow(static_cast<int>(std::floor(step_row(step_on_screen))));

#include <SFML/Network/TcpSocket.hpp>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sync/cameratracks.h"
#include "tunables.h"

// Where the editor listens.
struct SyncAddress {
  std::string host = "127.0.0.1";
  unsigned short port = 1338;

  std::string Text() const { return host + ":" + std::to_string(port); }
};

// Reads `--sync [HOST:]PORT` ("PORT" alone: on this machine). False with a one-line reason.
bool parse_sync_address(const std::string& text, SyncAddress& address, std::string& error);

// A transport command from the editor.
struct SyncEvent {
  enum Kind { SEEK, PAUSE, SAVE };
  Kind kind = SEEK;
  int row = 0;          // SEEK: go to the first step of this row
  bool paused = false;  // PAUSE: true to pause, false to play
};

class SyncClient {
 public:
  // Where its lines go (one line each, no newline); by default standard error, after
  // "tessary: ".
  using Log = std::function<void(const std::string& line)>;

  // Starts with `tracks` (the saved files, say) until an editor sends its own. Nothing is
  // attempted before the first Poll.
  SyncClient(const SyncAddress& address, CameraTracks tracks, Log log = Log(),
             float retry_seconds = sync_retry_seconds,
             float greeting_seconds = sync_greeting_seconds);
  ~SyncClient();
  SyncClient(const SyncClient&) = delete;
  SyncClient& operator=(const SyncClient&) = delete;

  // Once a frame: connects when due, sends what is queued, reads what has arrived and applies
  // its keys. Returns the editor's transport commands in the order they came (valid until the
  // next Poll). Anything malformed, or no greeting within greeting_seconds, drops the
  // connection with one line; a lost editor is reported once and tried again every
  // retry_seconds, silently.
  const std::vector<SyncEvent>& Poll();
  // The row on screen while the show plays; sent when it differs from the last row sent or
  // received. Call at most once a frame, and not while paused.
  void ReportRow(int row);

  // The tracks as the editor last sent them (the starting ones before any editor).
  const CameraTracks& Tracks() const { return tracks_; }
  // True once the editor has answered the greeting, until the connection is lost.
  bool Connected() const { return state_ == State::CONNECTED; }

 private:
  enum class State { IDLE, CONNECTING, GREETING, CONNECTED };
  using Clock = std::chrono::steady_clock;

  // Starts the connection thread; then takes its socket, or schedules the next attempt.
  void StartConnecting();
  void FinishConnecting();
  // Reads everything that has arrived and parses it; false once the connection is dropped.
  bool Receive();
  // Parses complete messages from the front of in_; false when one is malformed (dropped).
  bool Parse();
  // Applies one complete message (keys) or adds its event; false with `problem` when malformed.
  bool ParseCommand(const unsigned char* p, std::string& problem);
  // Sends what is queued as far as the socket takes it; false once the connection is dropped.
  bool Flush();
  // Appends bytes, or a big-endian u32, to what is to be sent.
  void Queue(const unsigned char* bytes, size_t count);
  void QueueU32(std::uint32_t value);
  // Closes the connection after one line, keeping the tracks; the next attempt is due later.
  void Drop(const std::string& line);

  SyncAddress address_;
  CameraTracks tracks_;
  Log log_;
  Clock::duration retry_;
  Clock::duration greeting_wait_;
  Clock::time_point next_attempt_;
  Clock::time_point greeting_deadline_;  // GREETING: the editor's greeting is due by then
  State state_ = State::IDLE;
  bool quiet_ = false;  // a failure was reported since the last connection
  int last_row_ = -1;   // the row last sent or received on this connection

  std::unique_ptr<sf::TcpSocket> socket_;
  std::vector<unsigned char> in_;
  std::vector<unsigned char> out_;
  std::vector<SyncEvent> events_;

  // The connection attempt in progress, shared with its detached thread: the client never
  // waits for it, not even at the end (a host that does not answer keeps it a while).
  struct Attempt;
  std::shared_ptr<Attempt> attempt_;
};

#endif
