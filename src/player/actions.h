#ifndef TESSARY_PLAYER_ACTIONS_H
#define TESSARY_PLAYER_ACTIONS_H

// What a pressed key does to the show, the same in every player: the seeks, the pause, speed,
// mute and loops of the transport, the free camera and the overlay flag, each said in one line.
// What a player does its own way (quitting, saving a shot, reloading or writing files) and
// where its lines go, it gives through Controls::Host.
//
// How to use (the transport, music and free camera outlive the controls):
//   class MyPlayer : Controls::Host { void Say(const std::string&) override; ... };
//   Controls controls(*transport, music, free, host);
//   controls.Act(binding->action, elapsed);   // a pressed key's action
//   if (controls.OverlayOn()) ...             // F1's flag

#include <string>

#include "player/keys.h"

class FreeCamera;
class Soundtrack;
class Transport;

class Controls {
 public:
  // The player's side of the actions.
  class Host {
   public:
    // One line for the developer.
    virtual void Say(const std::string& line) = 0;
    // An action Controls leaves to the player: Quit, Shot, Reload, WriteKey, WriteSmoothKey,
    // Undo.
    virtual void Own(Action action, float elapsed) = 0;

   protected:
    ~Host() = default;
  };

  Controls(Transport& transport, Soundtrack& music, FreeCamera& free, Host& host);

  // Carries out a pressed key's action at clock time `elapsed`.
  void Act(Action action, float elapsed);
  // Says where the show stands after a seek, in one line ("at frame ...").
  void SayWhere() const;
  bool OverlayOn() const { return overlay_on_; }

 private:
  // The seeks among the actions; false for any other action.
  bool Seek(Action action, float elapsed);
  void ToggleCamera();
  void SetLoopMark(bool end);
  void Say(const char* format, ...) const __attribute__((format(printf, 2, 3)));

  Transport& transport_;
  Soundtrack& music_;
  FreeCamera& free_;
  Host& host_;
  bool overlay_on_ = false;
};

#endif
