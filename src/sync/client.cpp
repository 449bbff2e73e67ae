#include "sync/client.h"

#include <SFML/Network/IpAddress.hpp>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <thread>

namespace {

// The greetings of the protocol, without their terminating NUL.
constexpr char client_greeting[] = "hello, synctracker!";
constexpr char editor_greeting[] = "hello, demo!";
constexpr size_t client_greeting_length = sizeof client_greeting - 1;
constexpr size_t editor_greeting_length = sizeof editor_greeting - 1;

// Command bytes, and the length of each command with its fields.
enum Command : unsigned char {
  SET_KEY = 0,
  DELETE_KEY = 1,
  GET_TRACK = 2,
  SET_ROW = 3,
  PAUSE = 4,
  SAVE_TRACKS = 5
};
constexpr size_t set_key_length = 14;
constexpr size_t delete_key_length = 9;
constexpr size_t set_row_length = 5;
constexpr size_t pause_length = 2;
constexpr size_t save_tracks_length = 1;

// How long the connection thread waits for an editor that does not answer.
constexpr float connect_timeout_seconds = 2.0f;
// Bytes read per receive call; and at most this many calls a Poll, so that an editor sending
// without end cannot hold a frame.
constexpr size_t receive_chunk = 4096;
constexpr int receives_per_poll = 16;
// Queued bytes beyond which an editor that reads nothing is given up.
constexpr size_t max_queued_bytes = 1 << 16;

// A big-endian u32 off the wire.
std::uint32_t get_u32_be(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | static_cast<std::uint32_t>(p[3]);
}

// Where the client's lines go unless its owner says otherwise.
void default_log(const std::string& line) {
  std::fprintf(stderr, "tessary: %s\n", line.c_str());
}

// The length of the message starting with `command` (0: not a command the editor sends).
size_t command_length(unsigned char command) {
  switch (command) {
    case SET_KEY:
      return set_key_length;
    case DELETE_KEY:
      return delete_key_length;
    case SET_ROW:
      return set_row_length;
    case PAUSE:
      return pause_length;
    case SAVE_TRACKS:
      return save_tracks_length;
    default:
      return 0;
  }
}

}  // namespace

// One connection attempt: written by its thread until `done`, then read by the client.
struct SyncClient::Attempt {
  SyncAddress address;
  std::unique_ptr<sf::TcpSocket> socket = std::make_unique<sf::TcpSocket>();
  bool ok = false;
  std::string error;
  std::atomic<bool> done{false};

  // Looks the host up and connects; blocks its thread up to the connect timeout.
  void Run() {
    const sf::IpAddress ip(address.host);
    if (ip == sf::IpAddress::None) {
      error = "cannot find the host " + address.host;
    } else {
      ok = socket->connect(ip, address.port, sf::seconds(connect_timeout_seconds)) ==
           sf::Socket::Done;
      if (!ok) error = "nothing answers";
    }
    done.store(true, std::memory_order_release);
  }
};

bool parse_sync_address(const std::string& text, SyncAddress& address, std::string& error) {
  const size_t colon = text.rfind(':');
  const std::string host = colon == std::string::npos ? "" : text.substr(0, colon);
  const std::string port = colon == std::string::npos ? text : text.substr(colon + 1);
  long value = 0;
  bool digits = !port.empty() && port.size() <= 5;
  for (char c : port) {
    digits = digits && c >= '0' && c <= '9';
    if (digits) value = value * 10 + (c - '0');
  }
  if (!digits || value < 1 || value > 65535 || (colon != std::string::npos && host.empty())) {
    error = "'" + text + "' is not [HOST:]PORT (e.g. 1338 or 192.168.1.5:1338)";
    return false;
  }
  if (!host.empty()) address.host = host;
  address.port = static_cast<unsigned short>(value);
  return true;
}

namespace {

std::chrono::steady_clock::duration clock_seconds(float seconds) {
  return std::chrono::duration_cast<std::chrono::steady_clock::duration>(
      std::chrono::duration<float>(seconds));
}

// "2 s", "0.1 s": a wait as a line says it.
std::string format_seconds(std::chrono::steady_clock::duration wait) {
  char text[32];
  std::snprintf(text, sizeof text, "%g s", std::chrono::duration<double>(wait).count());
  return text;
}

}  // namespace

SyncClient::SyncClient(const SyncAddress& address, CameraTracks tracks, Log log,
                       float retry_seconds, float greeting_seconds)
    : address_(address),
      tracks_(std::move(tracks)),
      log_(log ? std::move(log) : Log(default_log)),
      retry_(clock_seconds(retry_seconds)),
      greeting_wait_(clock_seconds(greeting_seconds)),
      next_attempt_(Clock::now()) {
  events_.reserve(16);
}

SyncClient::~SyncClient() = default;

const std::vector<SyncEvent>& SyncClient::Poll() {
  events_.clear();
  if (state_ == State::IDLE && Clock::now() >= next_attempt_) StartConnecting();
  if (state_ == State::CONNECTING && attempt_->done.load(std::memory_order_acquire)) {
    FinishConnecting();
  }
  if (state_ == State::GREETING || state_ == State::CONNECTED) {
    if (Flush()) Receive();
  }
  if (state_ == State::GREETING && Clock::now() >= greeting_deadline_) {
    Drop("the server at " + address_.Text() + " did not greet as a sync editor within " +
         format_seconds(greeting_wait_) + "; it is tried again every few seconds");
  }
  if (state_ == State::CONNECTED) Flush();
  return events_;
}

void SyncClient::ReportRow(int row) {
  if (state_ != State::CONNECTED || row == last_row_ || row < 0) return;
  last_row_ = row;
  const unsigned char command = SET_ROW;
  Queue(&command, 1);
  QueueU32(static_cast<std::uint32_t>(row));
  Flush();
}

void SyncClient::StartConnecting() {
  state_ = State::CONNECTING;
  attempt_ = std::make_shared<Attempt>();
  attempt_->address = address_;
  try {
    std::thread([attempt = attempt_] { attempt->Run(); }).detach();
  } catch (const std::system_error& e) {
    attempt_->error = std::string("no thread to connect on: ") + e.what();
    attempt_->done.store(true);
  }
}

void SyncClient::FinishConnecting() {
  const std::shared_ptr<Attempt> attempt = std::move(attempt_);
  if (!attempt->ok) {
    // Said once: later attempts retry silently.
    if (!quiet_) {
      quiet_ = true;
      log_("no sync editor at " + address_.Text() + " (" + attempt->error +
           "); the show plays on, and the editor is looked for every few seconds");
    }
    state_ = State::IDLE;
    next_attempt_ = Clock::now() + retry_;
    return;
  }
  socket_ = std::move(attempt->socket);
  socket_->setBlocking(false);
  in_.clear();
  out_.clear();
  last_row_ = -1;
  state_ = State::GREETING;
  greeting_deadline_ = Clock::now() + greeting_wait_;
  Queue(reinterpret_cast<const unsigned char*>(client_greeting), client_greeting_length);
}

bool SyncClient::Receive() {
  unsigned char chunk[receive_chunk];
  for (int n = 0; n < receives_per_poll; ++n) {
    size_t received = 0;
    const sf::Socket::Status status = socket_->receive(chunk, sizeof chunk, received);
    if (status == sf::Socket::NotReady) return true;
    if (status != sf::Socket::Done) {
      Drop(state_ == State::CONNECTED
               ? "the sync editor closed the connection; its last values stay until it is back"
               : "the sync editor at " + address_.Text() + " closed the connection at once");
      return false;
    }
    in_.insert(in_.end(), chunk, chunk + received);
    if (!Parse()) return false;
  }
  return true;
}

bool SyncClient::Parse() {
  size_t at = 0;
  if (state_ == State::GREETING) {
    if (in_.size() < editor_greeting_length) return true;
    if (std::memcmp(in_.data(), editor_greeting, editor_greeting_length) != 0) {
      Drop("the server at " + address_.Text() + " does not greet as a sync editor");
      return false;
    }
    at = editor_greeting_length;
    state_ = State::CONNECTED;
    quiet_ = false;
    log_("sync editor connected at " + address_.Text());
    // The editor answers every request with all of the track's keys.
    tracks_.Clear();
    for (const char* name : camera_track_names) {
      const unsigned char command = GET_TRACK;
      Queue(&command, 1);
      QueueU32(static_cast<std::uint32_t>(std::strlen(name)));
      Queue(reinterpret_cast<const unsigned char*>(name), std::strlen(name));
    }
  }
  while (at < in_.size()) {
    const size_t length = command_length(in_[at]);
    std::string problem;
    if (length == 0) {
      char line[64];
      std::snprintf(line, sizeof line, "an unknown command 0x%02X", in_[at]);
      problem = line;
    } else if (in_.size() - at < length) {
      break;  // the rest of it comes with a later read
    }
    if (problem.empty() && ParseCommand(&in_[at], problem)) {
      at += length;
      continue;
    }
    Drop("the sync editor sent " + problem + "; the connection is dropped");
    return false;
  }
  in_.erase(in_.begin(), in_.begin() + static_cast<std::ptrdiff_t>(at));
  return true;
}

bool SyncClient::ParseCommand(const unsigned char* p, std::string& problem) {
  const unsigned char command = p[0];
  if (command == SET_KEY || command == DELETE_KEY) {
    const std::uint32_t index = get_u32_be(p + 1);
    const std::uint32_t row = get_u32_be(p + 5);
    if (index >= static_cast<std::uint32_t>(camera_track_count)) {
      problem = "a key for track " + std::to_string(index) + ", which was never requested";
      return false;
    }
    if (row > static_cast<std::uint32_t>(INT_MAX)) {
      problem = "a key on row " + std::to_string(row);
      return false;
    }
    SyncTrack& track = tracks_.tracks[index];
    if (command == DELETE_KEY) {
      track.DeleteKey(static_cast<int>(row));
      return true;
    }
    SyncKey key;
    key.row = static_cast<int>(row);
    const std::uint32_t bits = get_u32_be(p + 9);
    std::memcpy(&key.value, &bits, sizeof bits);
    if (p[13] >= SyncKey::interpolation_count || !std::isfinite(key.value)) {
      problem = p[13] >= SyncKey::interpolation_count
                    ? "a key with interpolation " + std::to_string(p[13]) + " (0 to 3)"
                    : "a key whose value is not a finite number";
      return false;
    }
    key.interpolation = static_cast<SyncKey::Interpolation>(p[13]);
    track.SetKey(key);
  } else if (command == SET_ROW) {
    const std::uint32_t row = get_u32_be(p + 1);
    if (row > static_cast<std::uint32_t>(INT_MAX)) {
      problem = "the row " + std::to_string(row) + ", beyond any show";
      return false;
    }
    last_row_ = static_cast<int>(row);
    events_.push_back(SyncEvent{SyncEvent::SEEK, last_row_, false});
  } else if (command == PAUSE) {
    events_.push_back(SyncEvent{SyncEvent::PAUSE, 0, p[1] != 0});
  } else {
    events_.push_back(SyncEvent{SyncEvent::SAVE, 0, false});
  }
  return true;
}

bool SyncClient::Flush() {
  while (!out_.empty()) {
    size_t sent = 0;
    const sf::Socket::Status status = socket_->send(out_.data(), out_.size(), sent);
    out_.erase(out_.begin(), out_.begin() + static_cast<std::ptrdiff_t>(sent));
    if (status == sf::Socket::Done) continue;
    if (status == sf::Socket::Partial || status == sf::Socket::NotReady) break;
    Drop("the sync editor closed the connection; its last values stay until it is back");
    return false;
  }
  if (out_.size() > max_queued_bytes) {
    Drop("the sync editor reads nothing; the connection is dropped");
    return false;
  }
  return true;
}

void SyncClient::Queue(const unsigned char* bytes, size_t count) {
  out_.insert(out_.end(), bytes, bytes + count);
}

void SyncClient::QueueU32(std::uint32_t value) {
  const unsigned char bytes[4] = {
      static_cast<unsigned char>(value >> 24), static_cast<unsigned char>(value >> 16),
      static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value)};
  Queue(bytes, sizeof bytes);
}

void SyncClient::Drop(const std::string& line) {
  // A server that keeps failing the same way is reported once, not on every retry.
  if (!quiet_ || state_ == State::CONNECTED) log_(line);
  quiet_ = true;
  socket_.reset();
  in_.clear();
  out_.clear();
  state_ = State::IDLE;
  next_attempt_ = Clock::now() + retry_;
}
