#ifndef TESSARY_PLAYER_SYNCSESSION_H
#define TESSARY_PLAYER_SYNCSESSION_H

// The player's side of syncing: the camera tracks the show plays (the saved files, or with
// --sync an editor's), and the editor's transport commands carried out on the player's
// transport. Keeps the frame loop free of the protocol.
//
// How to use:
//   SyncSession sync(options.sync, options.sync_at, say);  // loads the saved tracks
//   head.SetCameraOverride(&sync.Tracks());                // stays valid for its life
//   each frame: sync.Poll(transport, elapsed, files);  ... draw ...  sync.ReportRow(transport);
//   if (transport.Over() && !sync.HoldAtEnd(transport, elapsed)) ... the show ends

#include <functional>
#include <memory>
#include <string>

#include "player/livefiles.h"
#include "player/transport.h"
#include "sync/cameratracks.h"
#include "sync/client.h"

class SyncSession {
 public:
  // Where its lines for the maker go (one line each, without a newline).
  using Say = std::function<void(const std::string& line)>;

  // Loads the saved tracks from track_dir (a broken file: one line on standard error); with
  // `editor`, connects to the editor at `address` from the first Poll on.
  SyncSession(bool editor, const SyncAddress& address, Say say);

  // The tracks that drive the camera: the editor's with --sync, else the saved files'.
  const CameraTracks& Tracks() const { return client_ ? client_->Tracks() : saved_; }
  bool WithEditor() const { return client_ != nullptr; }
  bool Connected() const { return client_ && client_->Connected(); }

  // With an editor: carries out its commands on `transport` (the last seek of a batch, pauses,
  // saves: the saved files are then taken as the player's own writes by `files`).
  void Poll(Transport& transport, float elapsed, LiveFiles& files);
  // With an editor and while playing: sends the row on screen.
  void ReportRow(const Transport& transport);
  // The show ran past its end: with an editor it holds its last frame, paused, until the
  // editor seeks (then it plays on) and true is returned; without one, false: the show ends.
  bool HoldAtEnd(Transport& transport, float elapsed);
  // Without an editor: reads the saved tracks again (a broken file keeps its track's keys);
  // false, reading nothing, with one (whose tracks play).
  bool ReloadSaved();

 private:
  Say say_;
  CameraTracks saved_;
  std::unique_ptr<SyncClient> client_;
  bool held_at_end_ = false;  // paused by the show's end, not by the editor
};

#endif
