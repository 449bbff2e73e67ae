#include "player/syncsession.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

void print_problems(const std::vector<std::string>& problems) {
  for (const std::string& line : problems) std::fprintf(stderr, "tessary: %s\n", line.c_str());
}

}  // namespace

SyncSession::SyncSession(bool editor, const SyncAddress& address, Say say) : say_(std::move(say)) {
  std::vector<std::string> problems;
  saved_.Load(track_dir, problems);
  print_problems(problems);
  if (editor) client_ = std::make_unique<SyncClient>(address, saved_);
}

void SyncSession::Poll(Transport& transport, float elapsed, LiveFiles& files) {
  if (!client_) return;
  // Seeks land in order with pauses either way, so only the last seek of a batch is made.
  int seek_row = -1;
  for (const SyncEvent& event : client_->Poll()) {
    if (event.kind == SyncEvent::SEEK) {
      seek_row = event.row;
    } else if (event.kind == SyncEvent::PAUSE) {
      if (event.paused != transport.Paused()) transport.TogglePause(elapsed);
      held_at_end_ = false;
    } else {
      std::string error;
      if (client_->Tracks().Save(track_dir, error)) {
        files.TookOwnTrackWrites();
        say_("saved the sync tracks in data/");
      } else {
        std::fprintf(stderr, "tessary: the sync tracks were not saved: %s\n", error.c_str());
      }
    }
  }
  if (seek_row >= 0) {
    transport.Seek(first_step_of_row(seek_row), elapsed);
    // Held at the end by us, not by the editor: it plays on from where it sent us.
    if (held_at_end_ && transport.Paused()) transport.TogglePause(elapsed);
    held_at_end_ = false;
  }
}

void SyncSession::ReportRow(const Transport& transport) {
  if (client_ && !transport.Paused()) {
    client_->ReportRow(static_cast<int>(std::floor(step_row(transport.Current()))));
  }
}

bool SyncSession::HoldAtEnd(Transport& transport, float elapsed) {
  if (!client_) return false;
  // A show that quits under the editor would end the maker's session.
  if (!transport.Paused()) transport.TogglePause(elapsed);
  held_at_end_ = true;
  return true;
}

bool SyncSession::ReloadSaved() {
  if (client_) return false;
  std::vector<std::string> problems;
  saved_.Load(track_dir, problems);
  print_problems(problems);
  return true;
}
